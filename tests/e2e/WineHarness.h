// Runs the real Windows programs under Wine for end-to-end tests: one fresh Wine prefix per
// test (a copy of a prepared one), a virtual display, and a time limit on every Wine command.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

namespace e2e {

struct MessageBoxSeen {
  std::string caption;
  std::string text;
  std::string icon;  // "error", "other" or "none"
};

struct RequestOutcome {
  std::string launcher;  // the child's exit code, "timeout" or "start failed <code>"
  std::vector<MessageBoxSeen> boxes;
};

// The running test's full name, usable as a folder name.
std::string CurrentTestName();

class WineSession {
 public:
  // A fresh prefix under the work folder, named after the test.
  explicit WineSession(const std::string& name);
  ~WineSession();
  WineSession(const WineSession&) = delete;
  WineSession& operator=(const WineSession&) = delete;

  // The user's temporary directory as Wine reports it, without a trailing backslash.
  static std::string TempDir();
  // Unix path of a Windows path on drive C:.
  std::string UnixPath(const std::string& windowsPath) const;
  void WriteFile(const std::string& windowsPath, const std::string& bytes) const;
  std::string ReadFile(const std::string& windowsPath) const;
  bool Exists(const std::string& windowsPath) const;
  void Remove(const std::string& windowsPath) const;
  // Copies one of the built Windows programs (by file name) to a Windows path.
  void Install(const std::string& program, const std::string& windowsPath) const;

  // wine64 reg add KEY /v NAME /t TYPE /d DATA /f (with "/reg:32" in `extra` for the 32-bit view).
  void RegAdd(const std::string& key, const std::string& name, const std::string& type,
              const std::string& data, const std::string& extra = "") const;

  // Starts `commandLine` exactly as given, the way PVCS starts its merge tool, and answers up to
  // `boxes` message boxes as a user would, reading each one first.
  RequestOutcome RunLikePvcs(const std::string& commandLine, int boxes) const;

  // The Windows current folder of the programs that Wine() and RunLikePvcs() start from now on;
  // empty for Wine's default.
  void SetCurrentFolder(const std::string& windowsPath);

  // Runs wine64 with these arguments; the exit code, or -1 after the time limit.
  int Wine(const std::vector<std::string>& args, int timeoutSeconds) const;

  // Starts `commandLine` the way PVCS does and returns at once; Finish waits for it and gives
  // what RunLikePvcs gives as `launcher`. The program's current folder is `folder` when given.
  void StartLikePvcs(const std::string& commandLine, const std::string& folder = "");
  std::string FinishLikePvcs(int timeoutSeconds = 60);

  // Runs the dialog probe with these arguments; its result file's content, and in `ok` whether
  // it found what it looked for.
  std::string Probe(const std::vector<std::string>& args, bool* ok = nullptr) const;

  // What "reg query" prints for a key with its subkeys (or for one value, when named); empty
  // when the key or value does not exist.
  std::string RegQuery(const std::string& key, const std::string& value = "") const;

  // A screenshot of the whole display, kept as a test artifact; the file's path.
  std::string Screenshot(const std::string& name) const;

  // Copies a file from the build (a path relative to the Windows build's folder).
  void InstallBuilt(const std::string& relativePath, const std::string& windowsPath) const;

  // Starts wine64 with these arguments without waiting; Finish waits for it (the exit code,
  // or -1 after the time limit, when it is killed).
  pid_t Start(const std::vector<std::string>& args) const;
  int Finish(pid_t pid, int timeoutSeconds) const;
  // Unix process ids of this prefix's running Windows programs whose command line contains
  // `program` (for example "VelmoraHelper.exe").
  std::vector<pid_t> WindowsProcesses(const std::string& program) const;
  // Ends every Windows process of this prefix at once, as a logoff does (wineserver -k).
  void EndAllProcesses() const;
  // Polls `condition` every 50 ms; false when it is still not met after the time limit.
  static bool WaitUntil(const std::function<bool()>& condition, int timeoutSeconds);

 private:
  std::string dir_;
  std::string prefix_;
  int pvcs_ = 0;     // the process started by StartLikePvcs
  std::string cwd_;  // Unix path of the current folder for started programs, or empty
};

// The LANG every Wine command is started with from now on; "en_US.UTF-8" unless set. Wine
// creates and sees file names with non-ASCII characters only under a locale the system has,
// such as "C.UTF-8"; the ANSI code page (1252) and the user locale are the same with both.
const std::string& WineLang();
void SetWineLang(const std::string& lang);

}  // namespace e2e
