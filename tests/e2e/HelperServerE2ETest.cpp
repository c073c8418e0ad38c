// The real deferred-deletion server VelmoraHelper.exe under Wine: its registration, files handed
// over by the real Velmora.exe and deleted once released, refusals, and pending files that
// outlive the server process.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <thread>

#include "WineHarness.h"

namespace {

const std::string kClassKey = "HKCR\\CLSID\\{3F990032-0766-453D-AC59-3A33A8722940}";
const std::string kInterfaceKey = "HKCR\\Interface\\{7CB583D2-9E46-4080-BE15-09138B846596}";
const std::string kTypeLibKey = "HKCR\\TypeLib\\{4E366641-DEE7-4E6A-B103-83E3DA9AA7DC}";
const std::string kTypeLibMarshaller = "{00020424-0000-0000-C000-000000000046}";
const std::string kServer = "C:\\PVCS\\VelmoraHelper.exe";
const std::string kSettings = "HKCU\\Software\\Tessmark\\Velmora";
const std::string kRunKey = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string kListHeader = "VelmoraHelper pending deletions 2\r\n";

// A bounded wait for something another process does; long enough for a slow machine.
constexpr int kPatienceSeconds = 60;

struct ClientAnswer {
  std::string hresult;      // eight upper-case hex digits
  std::string description;  // the error description the client received, if any
};

class HelperServerRun : public testing::Test {
 protected:
  HelperServerRun() : wine(e2e::CurrentTestName()), temp(e2e::WineSession::TempDir()) {
    std::string users = temp.substr(0, temp.rfind('\\'));
    pendingList = users + "\\AppData\\Local\\Velmora\\VelmoraHelper.pending";
  }

  void Register(const std::string& server = kServer) {
    wine.Install("VelmoraHelper.exe", server);
    ASSERT_EQ(wine.Wine({server, "/regserver"}, kPatienceSeconds), 0);
  }

  // Hands each path to AddTempFile through the test client, one object per path.
  std::vector<ClientAnswer> HandOver(const std::vector<std::string>& paths) {
    wine.Install("HelperClient.exe", "C:\\e2e\\HelperClient.exe");
    wine.Remove("C:\\e2e\\client.txt");
    std::vector<std::string> args{"C:\\e2e\\HelperClient.exe", "C:\\e2e\\client.txt"};
    args.insert(args.end(), paths.begin(), paths.end());
    EXPECT_EQ(wine.Wine(args, kPatienceSeconds), 0);
    std::vector<ClientAnswer> answers;
    std::istringstream lines(wine.ReadFile("C:\\e2e\\client.txt"));
    for (std::string line; std::getline(lines, line);) {
      const std::string marker = " description=";
      size_t cut = line.find(marker);
      if (line.rfind("hr=", 0) != 0 || cut == std::string::npos) continue;
      answers.push_back({line.substr(3, cut - 3), line.substr(cut + marker.size())});
    }
    return answers;
  }

  // Starts the holder: it waits for `path`, then keeps it open without sharing deletion.
  pid_t Hold(const std::string& path, int holdMs) {
    wine.Install("HoldFile.exe", "C:\\e2e\\HoldFile.exe");
    return wine.Start({"C:\\e2e\\HoldFile.exe", path, std::to_string(holdMs), "C:\\e2e\\hold",
                       std::to_string(kPatienceSeconds * 1000)});
  }

  bool Gone(const std::string& path) const {
    return e2e::WineSession::WaitUntil([&] { return !wine.Exists(path); }, kPatienceSeconds);
  }
  bool ServerEnded() const {
    return e2e::WineSession::WaitUntil(
        [&] { return wine.WindowsProcesses("VelmoraHelper.exe").empty(); }, kPatienceSeconds);
  }

  e2e::WineSession wine;
  std::string temp;
  std::string pendingList;
};

TEST_F(HelperServerRun, RegistersAndUnregistersEverything) {
  // A folder with blanks: the local-server entry must quote the path.
  const std::string server = "C:\\Program Files\\Velmora Tools\\VelmoraHelper.exe";
  wine.Install("VelmoraHelper.exe", server);
  // Started through the shell, as the setup dialog starts it: "runas" without, "open" with
  // administrator rights.
  wine.Install("ShellRun.exe", "C:\\e2e\\ShellRun.exe");
  ASSERT_EQ(wine.Wine({"C:\\e2e\\ShellRun.exe", "runas", server, "/regserver"}, kPatienceSeconds),
            0);
  std::string classKey = wine.RegQuery(kClassKey);
  EXPECT_NE(classKey.find("\\LocalServer32\r\n    (Default)    REG_SZ    \"" + server + "\""),
            std::string::npos)
      << classKey;
  EXPECT_NE(wine.RegQuery(kInterfaceKey).find(kTypeLibMarshaller), std::string::npos);
  EXPECT_NE(wine.RegQuery(kTypeLibKey).find(server), std::string::npos);
  EXPECT_EQ(wine.RegQuery(kClassKey + ".staging").find("REG_SZ"), std::string::npos);
  // The logon entry starts it without arguments.
  EXPECT_NE(wine.RegQuery(kRunKey, "VelmoraHelper").find("REG_SZ    \"" + server + "\"\r\n"),
            std::string::npos)
      << wine.RegQuery(kRunKey);

  // The registration works: COM starts the server from that entry.
  wine.WriteFile(temp + "\\probe.zip", "PK");
  auto answers = HandOver({temp + "\\probe.zip"});
  ASSERT_EQ(answers.size(), 1u);
  EXPECT_EQ(answers[0].hresult, "00000000");
  EXPECT_TRUE(Gone(temp + "\\probe.zip"));
  EXPECT_TRUE(ServerEnded());

  EXPECT_EQ(wine.Wine({"C:\\e2e\\ShellRun.exe", "open", server, "/unregserver"}, kPatienceSeconds),
            0);
  for (const std::string& key : {kClassKey, kInterfaceKey, kTypeLibKey})
    EXPECT_EQ(wine.RegQuery(key).find("REG_SZ"), std::string::npos) << key;
  EXPECT_EQ(wine.RegQuery(kRunKey, "VelmoraHelper"), "");
  // Unregistering what is not registered succeeds; an unknown switch fails, without a window.
  EXPECT_EQ(wine.Wine({server, "/unregserver"}, kPatienceSeconds), 0);
  EXPECT_NE(wine.Wine({server, "/bogus"}, kPatienceSeconds), 0);
  EXPECT_EQ(wine.RegQuery(kClassKey).find("REG_SZ"), std::string::npos);
}

TEST_F(HelperServerRun, ArchiveHeldOpenIsDeletedOnceReleased) {
  Register();
  wine.Install("StandInGui.exe", "C:\\BC3\\BComp.exe");
  wine.RegAdd(kSettings, "BC2Path", "REG_SZ", "C:\\BC3\\BComp.exe");
  wine.RegAdd(kSettings, "UseBC2", "REG_DWORD", "1");
  wine.WriteFile(temp + "\\pvc4710.tmp", "PK-ancestor");
  wine.WriteFile(temp + "\\pvc4711.tmp", "PK-derivative");
  const std::string parameterFile = temp + "\\pvc4712.tmp";
  wine.WriteFile(parameterFile,
                 "ANCESTOR=\"" + temp + "\\pvc4710.tmp\",\"File 1: lib.zip 1.4\"\r\n" +
                     "DERIVATIVES=\"" + temp + "\\pvc4711.tmp\",\"File 2: lib.zip 1.5\"\r\n");
  const std::string left = temp + "\\pvc4711.zip", right = temp + "\\pvc4710.zip";
  // Another process opens the left copy as soon as Velmora makes it and keeps it for a while.
  pid_t holder = Hold(left, 15000);

  auto outcome = wine.RunLikePvcs("\"C:\\PVCS\\Velmora.exe\" -r " + parameterFile, 0);
  ASSERT_EQ(outcome.launcher, "0");
  std::string log = wine.ReadFile(temp + "\\Velmora.log");
  EXPECT_NE(log.find("\"" + left + "\" is deleted after Beyond Compare is closed\r\n"),
            std::string::npos)
      << log;
  EXPECT_NE(log.find("\"" + right + "\" is deleted after Beyond Compare is closed\r\n"),
            std::string::npos)
      << log;

  // The right copy is free and goes; the left one stays while it is held.
  EXPECT_TRUE(Gone(right));
  ASSERT_TRUE(wine.Exists("C:\\e2e\\hold.held")) << wine.ReadFile("C:\\e2e\\hold.failed");
  ASSERT_FALSE(wine.Exists("C:\\e2e\\hold.released")) << "hold ended too early to tell";
  EXPECT_TRUE(wine.Exists(left));
  EXPECT_NE(wine.ReadFile(pendingList).find(left), std::string::npos);
  ASSERT_FALSE(wine.Exists("C:\\e2e\\hold.released")) << "hold ended too early to tell";

  EXPECT_EQ(wine.Finish(holder, kPatienceSeconds), 0);
  EXPECT_TRUE(Gone(left));
  EXPECT_TRUE(ServerEnded());
  EXPECT_EQ(wine.ReadFile(pendingList), kListHeader);
}

struct Refusal {
  const char* name;
  std::string path;
  const char* hresult;
  const char* description;  // a part of it
};

TEST_F(HelperServerRun, RefusesWhatIsNoFileInsideTheTemporaryDirectory) {
  Register();
  wine.WriteFile("C:\\outside\\keep.zip", "keep");
  wine.WriteFile(temp + "\\folder.zip\\inner.txt", "inner");
  // Wine cannot make junctions or Windows links (FSCTL_SET_REPARSE_POINT fails with error 50);
  // links made on the Unix side are what it resolves as such.
  std::filesystem::create_directory_symlink(wine.UnixPath("C:\\outside"),
                                            wine.UnixPath(temp + "\\junction"));
  std::filesystem::create_symlink(wine.UnixPath("C:\\outside\\keep.zip"),
                                  wine.UnixPath(temp + "\\link.zip"));
  wine.WriteFile(temp + "\\accepted.zip", "PK");
  const Refusal refusals[] = {
      {"outside", "C:\\outside\\keep.zip", "80070005", "is not inside the temporary directory"},
      {"through a junction", temp + "\\junction\\keep.zip", "80070005",
       "is not inside the temporary directory"},
      {"file link", temp + "\\link.zip", "80070005", "is not inside the temporary directory"},
      {"folder", temp + "\\folder.zip", "80070005", "is a folder"},
      {"relative", "pvc4711.zip", "80070057", "is not a full path"},
      {"empty", "", "80070057", "empty path"},
      {"device", temp + "\\nul", "80070057", "names a device"},
      {"climbing out", temp + "\\..\\..\\..\\outside\\keep.zip", "80070005",
       "is not inside the temporary directory"},
      {"pipe", "\\\\./pipe\\velmora-e2e", "80070057", "device or namespace path"},
      {"pipe, forward slashes", "//./pipe/velmora-e2e", "80070057", "device or namespace path"},
      {"pipe through a server name", "\\\\localhost\\pipe\\velmora-e2e", "80070057",
       "device or namespace path"},
      {"object namespace", "\\??\\" + temp + "\\accepted.zip", "80070057",
       "device or namespace path"},
  };
  std::vector<std::string> paths;
  for (const Refusal& refusal : refusals) paths.push_back(refusal.path);
  paths.push_back(temp + "\\accepted.zip");  // the same client is heard when it is right
  auto answers = HandOver(paths);
  ASSERT_EQ(answers.size(), paths.size());
  for (size_t i = 0; i < std::size(refusals); ++i) {
    SCOPED_TRACE(refusals[i].name);
    EXPECT_EQ(answers[i].hresult, refusals[i].hresult);
    // Wine 8 does not carry a call's error information between processes; where it does, it
    // must be ours. The Windows-side test of the object checks the texts in process.
    if (!answers[i].description.empty()) {
      EXPECT_NE(answers[i].description.find(refusals[i].description), std::string::npos)
          << answers[i].description;
    }
  }
  EXPECT_EQ(answers.back().hresult, "00000000");
  EXPECT_TRUE(Gone(temp + "\\accepted.zip"));
  EXPECT_TRUE(ServerEnded());
  EXPECT_EQ(wine.ReadFile("C:\\outside\\keep.zip"), "keep");
  EXPECT_EQ(wine.ReadFile(temp + "\\folder.zip\\inner.txt"), "inner");
  EXPECT_TRUE(wine.Exists(temp + "\\link.zip"));
  EXPECT_TRUE(wine.Exists(temp + "\\junction\\keep.zip"));
}

// Velmora's own text test sees the copy inside the temporary directory; the server judges its
// final path, refuses it, and Velmora logs the failure and carries on.
TEST_F(HelperServerRun, VelmoraLogsTheRefusalOfAnArchiveBehindAJunction) {
  Register();
  wine.Install("StandInGui.exe", "C:\\BC3\\BComp.exe");
  wine.RegAdd(kSettings, "BC2Path", "REG_SZ", "C:\\BC3\\BComp.exe");
  wine.RegAdd(kSettings, "UseBC2", "REG_DWORD", "1");
  wine.WriteFile("C:\\outside\\pvc4710.tmp", "PK-ancestor");
  wine.WriteFile(temp + "\\pvc4711.tmp", "PK-derivative");
  std::filesystem::create_directory_symlink(wine.UnixPath("C:\\outside"),
                                            wine.UnixPath(temp + "\\junction"));
  const std::string parameterFile = temp + "\\pvc4712.tmp";
  wine.WriteFile(parameterFile,
                 "ANCESTOR=\"" + temp + "\\junction\\pvc4710.tmp\",\"File 1: lib.zip 1.4\"\r\n" +
                     "DERIVATIVES=\"" + temp + "\\pvc4711.tmp\",\"File 2: lib.zip 1.5\"\r\n");
  auto outcome = wine.RunLikePvcs("\"C:\\PVCS\\Velmora.exe\" -r " + parameterFile, 0);
  ASSERT_EQ(outcome.launcher, "0");
  const std::string refused = temp + "\\junction\\pvc4710.zip";
  std::string log = wine.ReadFile(temp + "\\Velmora.log");
  EXPECT_NE(log.find("Failed to add the temp file \"" + refused +
                     "\" to VelmoraHelper COM-Server (EOleException:"),
            std::string::npos)
      << log;
  EXPECT_NE(log.find("\"" + temp + "\\pvc4711.zip\" is deleted after Beyond Compare is closed"),
            std::string::npos)
      << log;
  EXPECT_EQ(wine.ReadFile("C:\\outside\\pvc4710.zip"), "PK-ancestor");
  EXPECT_TRUE(Gone(temp + "\\pvc4711.zip"));
  EXPECT_TRUE(ServerEnded());
  EXPECT_EQ(wine.ReadFile("C:\\outside\\pvc4710.zip"), "PK-ancestor");
}

// How the server ends with a file pending, and how it is started next.
struct NextRun {
  const char* name;
  bool logoff;  // every process of the session ends, else only the server dies (a crash)
};

void PrintTo(const NextRun& run, std::ostream* out) {
  *out << run.name;
}

class AfterServerEnded : public HelperServerRun, public testing::WithParamInterface<NextRun> {};

TEST_P(AfterServerEnded, PendingFileIsDeletedByTheNextRun) {
  Register();
  const std::string file = temp + "\\pvc4711.zip";
  wine.WriteFile(file, "PK");
  pid_t holder = Hold(file, 120000);
  ASSERT_TRUE(e2e::WineSession::WaitUntil([&] { return wine.Exists("C:\\e2e\\hold.held"); },
                                          kPatienceSeconds));
  auto answers = HandOver({file});
  ASSERT_EQ(answers.size(), 1u);
  ASSERT_EQ(answers[0].hresult, "00000000");
  ASSERT_NE(wine.ReadFile(pendingList).find(file), std::string::npos);

  if (GetParam().logoff) {
    wine.EndAllProcesses();
    wine.Finish(holder, kPatienceSeconds);
  } else {
    // The server dies as in a crash; then the file is released.
    auto servers = wine.WindowsProcesses("VelmoraHelper.exe");
    ASSERT_FALSE(servers.empty());
    for (pid_t pid : servers) kill(pid, SIGKILL);
    ASSERT_TRUE(ServerEnded());
    kill(-holder, SIGKILL);
    wine.Finish(holder, kPatienceSeconds);
  }
  EXPECT_TRUE(wine.Exists(file));

  if (GetParam().logoff) {
    // The next request starts the server through COM; it takes the old list over as well.
    wine.WriteFile(temp + "\\pvc4720.zip", "PK");
    answers = HandOver({temp + "\\pvc4720.zip"});
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].hresult, "00000000");
    EXPECT_TRUE(Gone(temp + "\\pvc4720.zip"));
    EXPECT_TRUE(Gone(file));
    EXPECT_TRUE(ServerEnded());
  } else {
    // Started without arguments it finishes the list and ends. (Wine 8 keeps a killed
    // server's class registration: a COM activation right after the crash fails with
    // 800706BA, so the crash case starts the server directly.)
    EXPECT_EQ(wine.Wine({kServer}, kPatienceSeconds), 0);
    EXPECT_FALSE(wine.Exists(file));
  }
  EXPECT_EQ(wine.ReadFile(pendingList), kListHeader);
}

INSTANTIATE_TEST_SUITE_P(Wine, AfterServerEnded,
                         testing::Values(NextRun{"CrashThenStartedWithoutArguments", false},
                                         NextRun{"LogoffThenActivatedByAClient", true}),
                         [](const testing::TestParamInfo<NextRun>& param) {
                           return param.param.name;
                         });

// Unregistration stopped at any point: the class key, which says "registered", is there only
// while everything it stands for is.
TEST_F(HelperServerRun, InterruptedUnregistrationNeverReadsAsRegistered) {
  int absent = 0;
  for (int delayMs = 0; delayMs <= 200; delayMs += 8) {
    SCOPED_TRACE("stopped after " + std::to_string(delayMs) + " ms");
    Register();
    pid_t unregistering = wine.Start({kServer, "/unregserver"});
    std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
    kill(-unregistering, SIGKILL);
    wine.Finish(unregistering, kPatienceSeconds);
    std::string classKey = wine.RegQuery(kClassKey);
    if (classKey.empty()) {
      ++absent;
      continue;
    }
    EXPECT_NE(classKey.find("\\LocalServer32\r\n    (Default)    REG_SZ    " + kServer),
              std::string::npos)
        << classKey;
    EXPECT_NE(wine.RegQuery(kInterfaceKey).find(kTypeLibMarshaller), std::string::npos);
    EXPECT_NE(wine.RegQuery(kTypeLibKey).find(kServer), std::string::npos);
    EXPECT_NE(wine.RegQuery(kRunKey, "VelmoraHelper").find(kServer), std::string::npos);
  }
  std::cout << absent << " of 26 stopped unregistrations had removed the class key\n";
  // Finished, it leaves nothing behind, also after a stopped one.
  EXPECT_EQ(wine.Wine({kServer, "/unregserver"}, kPatienceSeconds), 0);
  for (const std::string& key : {kClassKey, kInterfaceKey, kTypeLibKey})
    EXPECT_EQ(wine.RegQuery(key), "") << key;
  EXPECT_EQ(wine.RegQuery("HKCR\\CLSID\\VelmoraHelper.removing"), "");
}

TEST_F(HelperServerRun, FileReplacedAfterItWasAcceptedIsKept) {
  Register();
  const std::string file = temp + "\\pvc4711.zip";
  wine.WriteFile(file, "PK-accepted");
  pid_t holder = Hold(file, 8000);
  ASSERT_TRUE(e2e::WineSession::WaitUntil([&] { return wine.Exists("C:\\e2e\\hold.held"); },
                                          kPatienceSeconds));
  auto answers = HandOver({file});
  ASSERT_EQ(answers.size(), 1u);
  ASSERT_EQ(answers[0].hresult, "00000000");
  // Another program deletes it and makes its own under the same name while the server waits.
  std::filesystem::remove(wine.UnixPath(file));
  wine.WriteFile(file, "another program's");
  ASSERT_FALSE(wine.Exists("C:\\e2e\\hold.released")) << "hold ended too early to tell";
  EXPECT_EQ(wine.Finish(holder, kPatienceSeconds), 0);
  EXPECT_TRUE(ServerEnded());
  EXPECT_EQ(wine.ReadFile(file), "another program's");
  EXPECT_EQ(wine.ReadFile(pendingList), kListHeader);
  std::string record = wine.ReadFile(temp.substr(0, temp.rfind('\\')) +
                                     "\\AppData\\Local\\Velmora\\VelmoraHelper.log");
  EXPECT_NE(record.find("\"" + file + "\" is no longer the file handed over"), std::string::npos)
      << record;
}

TEST_F(HelperServerRun, ServerProcessesSavingAtOnceLoseNoEntry) {
  Register();
  wine.Install("HelperClient.exe", "C:\\e2e\\HelperClient.exe");
  // Every file is held open, so that each stays pending and only the list remembers it.
  constexpr int kClients = 4, kFilesEach = 3;
  wine.Install("HoldFile.exe", "C:\\e2e\\HoldFile.exe");
  std::vector<pid_t> holders;
  std::vector<std::string> all;
  for (int i = 0; i < kClients * kFilesEach; ++i) {
    all.push_back(temp + "\\pvc" + std::to_string(4700 + i) + ".zip");
    wine.WriteFile(all.back(), "PK");
    holders.push_back(
        wine.Start({"C:\\e2e\\HoldFile.exe", all.back(), "120000",
                    "C:\\e2e\\hold" + std::to_string(i), std::to_string(kPatienceSeconds * 1000)}));
  }
  for (int i = 0; i < kClients * kFilesEach; ++i) {
    ASSERT_TRUE(e2e::WineSession::WaitUntil(
        [&] { return wine.Exists("C:\\e2e\\hold" + std::to_string(i) + ".held"); },
        kPatienceSeconds));
  }
  // Clients at once: Wine starts a server process for each of them, or shares some.
  std::vector<pid_t> clients;
  for (int c = 0; c < kClients; ++c) {
    std::vector<std::string> args{"C:\\e2e\\HelperClient.exe",
                                  "C:\\e2e\\client" + std::to_string(c) + ".txt"};
    for (int f = 0; f < kFilesEach; ++f) args.push_back(all[c * kFilesEach + f]);
    clients.push_back(wine.Start(args));
  }
  for (int c = 0; c < kClients; ++c) {
    EXPECT_EQ(wine.Finish(clients[c], kPatienceSeconds), 0);
    std::string answers = wine.ReadFile("C:\\e2e\\client" + std::to_string(c) + ".txt");
    EXPECT_EQ(answers.find("hr=0000000"), 0u) << answers;
    EXPECT_EQ(answers.find("hr=8"), std::string::npos) << answers;
  }
  std::cout << wine.WindowsProcesses("VelmoraHelper.exe").size()
            << " server processes were running\n";
  // Every accepted file is in the list on disk.
  std::string list = wine.ReadFile(pendingList);
  for (const std::string& file : all)
    EXPECT_NE(list.find(" " + file + "\r\n"), std::string::npos) << file << "\n" << list;

  // So a crash of every server process loses nothing: the next start finishes them all.
  for (pid_t pid : wine.WindowsProcesses("VelmoraHelper.exe")) kill(pid, SIGKILL);
  ASSERT_TRUE(ServerEnded());
  for (pid_t holder : holders) {
    kill(-holder, SIGKILL);
    wine.Finish(holder, kPatienceSeconds);
  }
  EXPECT_EQ(wine.Wine({kServer}, kPatienceSeconds), 0);
  for (const std::string& file : all) EXPECT_FALSE(wine.Exists(file)) << file;
  EXPECT_EQ(wine.ReadFile(pendingList), kListHeader);
}

TEST_F(HelperServerRun, FileWhosePathIsLongerThanMaxPathIsDeleted) {
  Register();
  std::string folder = temp;
  while (folder.size() < 360) folder += "\\folder-of-a-deep-tree";
  const std::string deep = folder + "\\" + std::string(389 - folder.size() - 4, 'x') + ".zip";
  ASSERT_EQ(deep.size(), 390u);
  wine.WriteFile(deep, "PK");
  const std::string outside = "C:\\outside" + deep.substr(temp.size());
  wine.WriteFile(outside, "keep");
  auto answers = HandOver({deep, outside});
  ASSERT_EQ(answers.size(), 2u);
  EXPECT_EQ(answers[0].hresult, "00000000");
  EXPECT_EQ(answers[1].hresult, "80070005");
  EXPECT_TRUE(Gone(deep));
  EXPECT_TRUE(ServerEnded());
  EXPECT_EQ(wine.ReadFile(outside), "keep");
}

// A logoff ends the server with a file pending; at the next logon the logon entry finishes it,
// before and without any request.
TEST_F(HelperServerRun, LogonEntryFinishesWhatALogoffLeftPending) {
  Register();
  const std::string file = temp + "\\pvc4711.zip";
  wine.WriteFile(file, "PK");
  pid_t holder = Hold(file, 120000);
  ASSERT_TRUE(e2e::WineSession::WaitUntil([&] { return wine.Exists("C:\\e2e\\hold.held"); },
                                          kPatienceSeconds));
  auto answers = HandOver({file});
  ASSERT_EQ(answers.size(), 1u);
  ASSERT_EQ(answers[0].hresult, "00000000");
  wine.EndAllProcesses();
  wine.Finish(holder, kPatienceSeconds);
  ASSERT_TRUE(wine.Exists(file));

  // Logon: the entry's command as it stands, started as Windows starts it.
  std::string entry = wine.RegQuery(kRunKey, "VelmoraHelper");
  const std::string type = "REG_SZ    ";
  size_t start = entry.find(type);
  ASSERT_NE(start, std::string::npos) << entry;
  start += type.size();
  std::string command = entry.substr(start, entry.find("\r\n", start) - start);
  EXPECT_EQ(command, kServer);
  auto outcome = wine.RunLikePvcs(command, 0);
  EXPECT_EQ(outcome.launcher, "0");
  EXPECT_FALSE(wine.Exists(file));
  EXPECT_EQ(wine.ReadFile(pendingList), kListHeader);
  EXPECT_TRUE(ServerEnded());
  // With nothing pending it ends at once, as at every other logon.
  outcome = wine.RunLikePvcs(command, 0);
  EXPECT_EQ(outcome.launcher, "0");
  EXPECT_TRUE(wine.WindowsProcesses("VelmoraHelper.exe").empty());
}

// The server's COM object in process on the real services (see tests/win32helper).
TEST(WindowsBuild, HelperObjectPassesUnderWine) {
  e2e::WineSession wine("Windows.velmora_helper_win_tests");
  wine.Install("velmora_helper_win_tests.exe", "C:\\e2e\\velmora_helper_win_tests.exe");
  int code = wine.Wine(
      {"C:\\e2e\\velmora_helper_win_tests.exe", "--gtest_output=xml:C:\\e2e\\results.xml"}, 150);
  std::string results = wine.ReadFile("C:\\e2e\\results.xml");
  EXPECT_EQ(code, 0) << results;
  EXPECT_NE(results.find("failures=\"0\""), std::string::npos) << results;
}

}  // namespace
