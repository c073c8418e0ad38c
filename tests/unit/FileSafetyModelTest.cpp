// Model-based test of the one rule every request must keep, whatever its names and wherever it
// fails: every byte PVCS, the user or another program had before (or wrote meanwhile) is still
// on disk afterwards under the name it had, or lies under a name the run log reports, or was
// deleted on purpose inside the temporary directory; and every other file Velmora leaves behind
// is such a reported name. Requests are generated from kinds of sides (inside and outside the
// temporary directory, working files, path tricks, taken and crossing names, archives, the
// parameter file and the comparison program themselves, short entries), both programs, other
// programs taking names meanwhile, and a failure injected at each file-system step in turn.
#include <gtest/gtest.h>

#include <set>

#include "app/ProgramEntry.h"
#include "disposal/TempDetection.h"
#include "launch/BeyondCompareRun.h"
#include "platform/ErrorCodes.h"
#include "platform/memory/MemoryPlatform.h"
#include "settings/Settings.h"

namespace velmora {
namespace {

using platform::Hive;
using Bytes = std::vector<uint8_t>;

const Text kParameterFile = u"C:\\Temp\\pvc4712.tmp";
const Text kLog = u"C:\\Temp\\Velmora.log";

// The in-memory file system with one step refused: the n-th call that changes or reads a file.
// Remembers what it refused and what it deleted.
class FaultyFiles : public platform::MemoryFileSystem {
 public:
  int failAt = 0;  // 0: nothing is refused
  int steps = 0;
  std::vector<Text> refused;                    // the paths of refused calls other than moves
  std::vector<Text> refusedMoves;               // the sources of refused moves
  std::vector<std::pair<Text, Bytes>> deleted;  // what was deleted, with its bytes

  uint32_t Move(const Text& from, const Text& to) override {
    if (Refuse(from, refusedMoves)) return platform::kErrorAccessDenied;
    return MemoryFileSystem::Move(from, to);
  }
  uint32_t Delete(const Text& path) override {
    if (Refuse(path)) return platform::kErrorAccessDenied;
    Bytes bytes = Exists(path) && !IsDirectory(path) ? Content(path) : Bytes{};
    uint32_t error = MemoryFileSystem::Delete(path);
    if (error == 0) deleted.push_back({path, bytes});
    return error;
  }
  uint32_t SetAttributes(const Text& path, uint32_t attributes) override {
    if (Refuse(path)) return platform::kErrorAccessDenied;
    return MemoryFileSystem::SetAttributes(path, attributes);
  }
  platform::ReadResult ReadWhole(const Text& path, platform::Sharing sharing) override {
    if (Refuse(path)) return {false, platform::kErrorAccessDenied, {}};
    return MemoryFileSystem::ReadWhole(path, sharing);
  }
  uint32_t WriteWhole(const Text& path, const Bytes& bytes) override {
    if (Refuse(path)) return platform::kErrorAccessDenied;
    return MemoryFileSystem::WriteWhole(path, bytes);
  }

 private:
  bool Refuse(const Text& path) { return Refuse(path, refused); }
  bool Refuse(const Text& path, std::vector<Text>& list) {
    if (++steps != failAt) return false;
    list.push_back(path);
    return true;
  }
};

class NoSetup : public ISetupDialog {
 public:
  bool Execute(const Text&) override { return false; }
};

// One side of a generated request: the parameter entry and the files it needs.
struct SideKind {
  const char* name;
  // The entry and the files to create for side `i` (1 or 2), given the comparison program.
  void (*make)(int i, const Text& program, Text& entry, std::vector<Text>& files);
};

Text N(int i) {
  return ToDecimal(i);
}
Text Quoted(const Text& path, const Text& title) {
  return u"\"" + path + u"\",\"" + title + u"\"";
}
Text Title(int i, const Text& caption) {
  return u"File " + N(i) + u": " + caption + u" 1." + N(i);
}

const SideKind kKinds[] = {
    {"revision in the temporary directory",
     [](int i, const Text&, Text& e, std::vector<Text>& f) {
       f = {u"C:\\Temp\\s" + N(i) + u".tmp"};
       e = Quoted(f[0], Title(i, u"main.c"));
     }},
    {"revision outside it",
     [](int i, const Text&, Text& e, std::vector<Text>& f) {
       f = {u"C:\\work\\s" + N(i) + u".tmp"};
       e = Quoted(f[0], Title(i, u"main.c"));
     }},
    {"user's file named as a revision",
     [](int i, const Text&, Text& e, std::vector<Text>& f) {
       f = {u"C:\\work\\u" + N(i) + u".c"};
       e = Quoted(f[0], Title(i, u"u.h"));
     }},
    {"extension differing in letter case only",
     [](int i, const Text&, Text& e, std::vector<Text>& f) {
       f = {u"C:\\Work\\c" + N(i) + u".c"};
       e = Quoted(f[0], u"File " + N(i) + u": C.C");
     }},
    {"working file",
     [](int i, const Text&, Text& e, std::vector<Text>& f) {
       f = {u"C:\\Temp\\w" + N(i) + u".tmp", u"C:\\work\\w" + N(i) + u".c"};
       e = Quoted(f[0], f[1]);
     }},
    {"working file in the temporary directory",
     [](int i, const Text&, Text& e, std::vector<Text>& f) {
       f = {u"C:\\Temp\\v" + N(i) + u".tmp", u"C:\\Temp\\proj\\v" + N(i) + u".zip"};
       e = Quoted(f[0], f[1] + u";1.4 - Derivative");
     }},
    {"'..' out of the temporary directory",
     [](int i, const Text&, Text& e, std::vector<Text>& f) {
       f = {u"C:\\work\\d" + N(i) + u".tmp", u"C:\\Temp\\acc\\keep.txt"};
       e = Quoted(u"C:\\Temp\\acc\\..\\..\\work\\d" + N(i) + u".tmp", Title(i, u"d.c"));
     }},
    {"forward slashes in the temporary directory",
     [](int i, const Text&, Text& e, std::vector<Text>& f) {
       f = {u"C:\\Temp\\f" + N(i) + u".tmp"};
       e = Quoted(u"C:/Temp/f" + N(i) + u".tmp", Title(i, u"f.c"));
     }},
    {"title not recognised",
     [](int i, const Text&, Text& e, std::vector<Text>& f) {
       f = {u"C:\\Temp\\n" + N(i) + u".tmp"};
       e = Quoted(f[0], u"");
     }},
    {"archive",
     [](int i, const Text&, Text& e, std::vector<Text>& f) {
       f = {u"C:\\Temp\\z" + N(i) + u".tmp"};
       e = Quoted(f[0], Title(i, u"lib.zip"));
     }},
    {"archive already named so",
     [](int i, const Text&, Text& e, std::vector<Text>& f) {
       f = {u"C:\\Temp\\y" + N(i) + u".zip"};
       e = Quoted(f[0], Title(i, u"lib.zip"));
     }},
    {"caption naming the run log",
     [](int, const Text&, Text& e, std::vector<Text>& f) {
       f = {u"C:\\Temp\\Velmora.tmp"};
       e = Quoted(f[0], u"File 2: Velmora.log 1.4");
     }},
    {"crossing, first half",
     [](int, const Text&, Text& e, std::vector<Text>& f) {
       f = {u"C:\\Temp\\x.tmp"};
       e = Quoted(f[0], u"File 1: x.c 1.4");
     }},
    {"crossing, second half",
     [](int, const Text&, Text& e, std::vector<Text>& f) {
       f = {u"C:\\Temp\\x.c"};
       e = Quoted(f[0], u"File 2: x.h 1.5");
     }},
    {"copy name taken",
     [](int i, const Text&, Text& e, std::vector<Text>& f) {
       f = {u"C:\\Temp\\t" + N(i) + u".tmp", u"C:\\Temp\\t" + N(i) + u".c"};
       e = Quoted(f[0], Title(i, u"t.c"));
     }},
    {"PVCS file missing",
     [](int i, const Text&, Text& e, std::vector<Text>& f) {
       f = {};
       e = Quoted(u"C:\\Temp\\gone" + N(i) + u".tmp", Title(i, u"g.c"));
     }},
    {"the parameter file itself",
     [](int i, const Text&, Text& e, std::vector<Text>& f) {
       f = {};
       e = Quoted(kParameterFile, Title(i, u"request.txt"));
     }},
    {"the comparison program itself",
     [](int i, const Text& program, Text& e, std::vector<Text>& f) {
       f = {};
       e = Quoted(program, Title(i, u"BC.bak"));
     }},
    {"short entry",
     [](int i, const Text&, Text& e, std::vector<Text>& f) {
       f = {u"C:\\Temp\\e" + N(i) + u".tmp"};
       e = u"\"" + f[0] + u"\"";
     }},
};

struct Request {
  size_t left, right;  // kinds of the ANCESTOR and DERIVATIVES entries
  bool bc3;
  int takeName;  // 0: nobody; 1 or 2: another program takes that entry's PVCS name meanwhile
  bool startFails, serverFails;
  int failAt;  // the file-system step refused, 0 for none

  std::string Describe() const {
    return std::string("ANCESTOR: ") + kKinds[left].name + ", DERIVATIVES: " + kKinds[right].name +
           (bc3 ? ", BComp.exe" : ", BC2.exe") +
           (takeName ? ", entry " + std::to_string(takeName) + "'s name taken meanwhile" : "") +
           (startFails ? ", start fails" : "") + (serverFails ? ", server fails" : "") +
           (failAt ? ", file-system step " + std::to_string(failAt) + " refused" : "");
  }
};

Bytes BytesOf(const Text& text) {
  std::string utf8 = "content of " + ToUtf8(text);
  return Bytes(utf8.begin(), utf8.end());
}

// The entry's path as PVCS wrote it: the first quoted item.
Text EntryPath(const Text& entry) {
  return entry.substr(1, entry.find(u'"', 1) - 1);
}

struct Outcome {
  int steps = 0;
  std::vector<std::string> violations;
};

Outcome Serve(const Request& r) {
  FaultyFiles files;
  platform::MemoryPlatform m;
  platform::Platform p{m.registry, m.processes, m.self,        m.windowing, m.shell,
                       files,      m.system,    m.environment, m.locale,    m.com,
                       m.dialogs,  m.clock,     m.versions,    m.folders};
  const Text program = r.bc3 ? u"C:\\BC3\\BComp.exe" : u"C:\\BC2\\BC2.exe";
  files.AddDirectory(u"C:\\Temp");
  files.AddDirectory(u"C:\\work");
  files.AddFile(program, BytesOf(program));
  m.registry.SetDword(Hive::CurrentUser, kSettingsKey, u"UseBC2", 1);
  m.registry.SetString(Hive::CurrentUser, kSettingsKey, u"BC2Path", program);
  m.self.commandLine = u"\"C:\\PVCS\\Velmora.exe\" -r " + kParameterFile;

  Text entries[2];
  for (int i = 1; i <= 2; ++i) {
    std::vector<Text> needed;
    kKinds[i == 1 ? r.left : r.right].make(i, program, entries[i - 1], needed);
    for (const Text& file : needed)
      if (!files.Exists(file)) files.AddFile(file, BytesOf(file));
  }
  Text parameters = u"ANCESTOR=" + entries[0] + u"\r\nDERIVATIVES=" + entries[1] + u"\r\n";
  files.AddFile(kParameterFile, ToUtf8(parameters));

  // Every file there is before the run, and what other programs write meanwhile, must survive.
  std::vector<std::pair<Text, Bytes>> kept;
  for (const Text& file : files.Files()) kept.push_back({file, files.Content(file)});

  m.processes.AddProgram(program, {0, 0, [&] {
                                     if (r.takeName == 0) return;
                                     Text name = EntryPath(entries[r.takeName - 1]);
                                     if (files.Exists(name)) return;
                                     Text full = files.FullPathName(name);
                                     files.AddFile(full, BytesOf(u"other program"));
                                     kept.push_back({full, files.Content(full)});
                                   }});
  if (r.startFails) m.processes.FailStarts(193);
  if (r.serverFails)
    m.com.result = {platform::ComCallResult::Stage::CreateFailed, int32_t(0x80040154), u""};
  files.failAt = r.failAt;

  NoSetup setup;
  BeyondCompareRun run(p);
  ProgramMain(p, setup, run);

  Outcome outcome;
  outcome.steps = files.steps;
  files.failAt = 0;
  std::string log = files.Exists(kLog) ? files.ContentString(kLog) : std::string();
  auto logSays = [&log](const Text& line) {
    return log.find(ToUtf8(line) + "\r\n") != std::string::npos;
  };
  auto among = [&files](const std::vector<Text>& paths, const Text& name) {
    for (const Text& path : paths)
      if (UpperAscii(files.FullPathName(path)) == UpperAscii(files.FullPathName(name))) return true;
    return false;
  };
  // A file that could not be moved back is reported only where the user sees it: in the error
  // shown, or in the log, under the name Velmora gave it.
  std::vector<Text> notMovedBack;
  auto collect = [&notMovedBack](const Text& text) {
    const Text said = u"Cannot move file \"";
    for (size_t at = 0; (at = text.find(said, at)) != Text::npos;) {
      at += said.size();
      notMovedBack.push_back(text.substr(at, text.find(u'"', at) - at));
    }
  };
  for (const auto& box : m.dialogs.boxes) collect(box.text);
  collect(FromUtf8(log));
  auto notMovedBackShown = [&](const Text& name) { return among(notMovedBack, name); };
  // A name the run reports as where a file stays, or that the file system refused to clear.
  auto reported = [&](const Text& name) {
    return logSays(u"\"" + name + u"\" is deleted after Beyond Compare is closed") ||
           log.find("Failed to add the temp file \"" + ToUtf8(name) + "\"") != std::string::npos ||
           log.find("\"" + ToUtf8(name) +
                    "\" is recognized as 'persistent file' - cannot be "
                    "moved back") != std::string::npos ||
           among(files.refused, name) ||
           (among(files.refusedMoves, name) && notMovedBackShown(name));
  };
  auto temporary = [&p](const Text& name) { return IsInTempDir(p, name); };
  // The names the log gives the copies, as they were built (perhaps another spelling).
  std::vector<Text> copies;
  for (size_t at = 0; (at = log.find("FileForBC   > \"", at)) != std::string::npos;) {
    at += 15;
    copies.push_back(FromUtf8(log.substr(at, log.find('"', at) - at)));
  }
  auto sameFile = [&files](const Text& a, const Text& b) {
    return UpperAscii(files.FullPathName(a)) == UpperAscii(files.FullPathName(b));
  };
  // When the final log cannot be saved, the error is shown and the first log, which names the
  // copies, is all there is: the dispositions it would have told of are taken on trust.
  bool finalSaveFailed = false;
  for (const auto& box : m.dialogs.boxes)
    finalSaveFailed =
        finalSaveFailed || (StartsWith(box.text, u"Cannot create file") && !log.empty());
  auto reportedCopy = [&](const Text& holder) {
    for (const Text& copy : copies)
      if (sameFile(copy, holder) && (reported(copy) || finalSaveFailed)) return true;
    return reported(holder);
  };

  std::set<Text> explained;
  for (const auto& [name, bytes] : kept) {
    if (files.Exists(name) && !files.IsDirectory(name) && files.Content(name) == bytes) {
      explained.insert(UpperAscii(name));
      continue;
    }
    std::vector<Text> holders;
    for (const Text& file : files.Files())
      if (files.Content(file) == bytes) holders.push_back(file);
    bool ok = false;
    for (const Text& holder : holders) {
      if (!reportedCopy(holder)) continue;
      ok = true;
      explained.insert(UpperAscii(holder));
    }
    if (!ok && holders.empty()) {
      // Gone: only by a deletion on purpose inside the temporary directory.
      for (const auto& [path, deletedBytes] : files.deleted) {
        bool logged = logSays(u"\"" + path + u"\" is recognized as temporary file - delete now");
        if (deletedBytes == bytes && temporary(path) &&
            (logged || (finalSaveFailed && reportedCopy(path))))
          ok = true;
      }
    }
    if (!ok)
      outcome.violations.push_back(
          "the bytes of " + ToUtf8(name) +
          (holders.empty() ? " are gone" : " lie under " + ToUtf8(holders[0])));
  }
  for (const Text& file : files.Files()) {
    if (explained.count(UpperAscii(file)) || UpperAscii(file) == UpperAscii(kLog)) continue;
    outcome.violations.push_back("Velmora left " + ToUtf8(file) + " behind");
  }
  return outcome;
}

TEST(FileSafetyModel, EveryByteSurvivesEveryRequestAndEveryFailure) {
  size_t cases = 0, failedCases = 0;
  std::vector<std::string> report;
  const size_t kinds = std::size(kKinds);
  for (size_t left = 0; left < kinds; ++left) {
    for (size_t right = 0; right < kinds; ++right) {
      for (bool bc3 : {false, true}) {
        for (int takeName : {0, 1, 2}) {
          for (int variant : {0, 1, 2}) {
            Request r{left, right, bc3, takeName, variant == 1, variant == 2, 0};
            if (variant == 2 && !bc3) continue;
            // A run without failures tells how many steps there are; for plain requests each is
            // then refused in turn.
            bool plain = takeName == 0 && variant == 0;
            int steps = plain ? Serve(r).steps : 0;
            for (int failAt = 0; failAt <= steps; ++failAt) {
              r.failAt = failAt;
              Outcome outcome = Serve(r);
              ++cases;
              if (outcome.violations.empty()) continue;
              ++failedCases;
              if (report.size() < 20) report.push_back(r.Describe() + ": " + outcome.violations[0]);
            }
          }
        }
      }
    }
  }
  std::string all;
  for (const auto& line : report) all += line + "\n";
  EXPECT_EQ(failedCases, 0u) << "of " << cases << " requests:\n" << all;
  RecordProperty("requests", static_cast<int>(cases));
  std::printf("%zu requests checked\n", cases);
}

}  // namespace
}  // namespace velmora
