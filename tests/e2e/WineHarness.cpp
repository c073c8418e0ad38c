#include "WineHarness.h"

#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include <gtest/gtest.h>

namespace e2e {

namespace fs = std::filesystem;

namespace {

const char* kWine = "/usr/lib/wine/wine64";
const char* kWineServer = "/usr/lib/wine/wineserver";

std::string WorkRoot() {
  return VELMORA_E2E_WORK;
}
std::string TemplatePrefix() {
  return WorkRoot() + "/prefix-template";
}

std::vector<std::string> WineEnvironment(const std::string& prefix) {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    std::string entry = *e;
    if (entry.rfind("WINEPREFIX=", 0) == 0 || entry.rfind("WINEDEBUG=", 0) == 0 ||
        entry.rfind("WINEDLLOVERRIDES=", 0) == 0 || entry.rfind("LANG=", 0) == 0 ||
        entry.rfind("LC_", 0) == 0) {
      continue;
    }
    env.push_back(entry);
  }
  env.push_back("WINEPREFIX=" + prefix);
  env.push_back("WINEDEBUG=-all");
  env.push_back("WINEDLLOVERRIDES=mscoree,mshtml=");
  // English (United States): ANSI code page 1252, "." and "," as separators.
  env.push_back("LANG=" + WineLang());
  return env;
}

// Starts a program in its own process group with its output sent to `logFile`, in the folder
// `cwd` when one is given (Wine maps it to the Windows current folder).
pid_t Spawn(const std::vector<std::string>& argv, const std::vector<std::string>& env,
            const std::string& logFile, const std::string& cwd = "") {
  pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    setpgid(0, 0);
    if (!cwd.empty() && chdir(cwd.c_str()) != 0) _exit(126);
    int fd = open(logFile.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    int devnull = open("/dev/null", O_RDONLY);
    if (devnull >= 0) dup2(devnull, 0);
    if (fd >= 0) {
      dup2(fd, 1);
      dup2(fd, 2);
    }
    std::vector<char*> args, envp;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    for (const auto& e : env) envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    execve(args[0], args.data(), envp.data());
    _exit(127);
  }
  return pid;
}

// Waits for a spawned process; kills its group after the time limit and returns -1.
int WaitFor(pid_t pid, int timeoutSeconds) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
  for (;;) {
    int status = 0;
    pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (std::chrono::steady_clock::now() > deadline) {
      kill(-pid, SIGKILL);
      waitpid(pid, &status, 0);
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

int Run(const std::vector<std::string>& argv, const std::vector<std::string>& env,
        const std::string& logFile, int timeoutSeconds) {
  return WaitFor(Spawn(argv, env, logFile), timeoutSeconds);
}

std::vector<MessageBoxSeen> ParseProbe(const std::string& text) {
  std::vector<MessageBoxSeen> boxes;
  MessageBoxSeen box;
  std::istringstream in(text);
  std::string line, *last = nullptr;
  while (std::getline(in, line)) {
    if (line == "---") {
      boxes.push_back(box);
      box = {};
      last = nullptr;
    } else if (line.rfind("caption=", 0) == 0) {
      box.caption = line.substr(8);
      last = &box.caption;
    } else if (line.rfind("text=", 0) == 0) {
      box.text = line.substr(5);
      last = &box.text;
    } else if (line.rfind("icon=", 0) == 0) {
      box.icon = line.substr(5);
      last = nullptr;
    } else if (last) {
      *last += "\n" + line;  // a text that holds line breaks
    }
  }
  return boxes;
}

// Prepares the template prefix once and provides a display for every test.
class WineEnvironmentSetup : public testing::Environment {
 public:
  void SetUp() override {
    fs::create_directories(WorkRoot());
    if (!getenv("DISPLAY") || !*getenv("DISPLAY")) {
      xvfb_ = Spawn({"/usr/bin/Xvfb", ":87", "-screen", "0", "1024x768x24", "-nolisten", "tcp"},
                    WineEnvironment(""), WorkRoot() + "/xvfb.log");
      setenv("DISPLAY", ":87", 1);
      std::this_thread::sleep_for(std::chrono::milliseconds(500));
    }
    // A template made before it had the fonts is made again.
    if (!fs::exists(TemplatePrefix() + "/.ready-fonts")) {
      fs::remove_all(TemplatePrefix());
      auto env = WineEnvironment(TemplatePrefix());
      Run({kWine, "wineboot", "--init"}, env, WorkRoot() + "/wineboot.log", 300);
      Run({kWineServer, "-w"}, env, WorkRoot() + "/wineboot.log", 120);
      // Wine's own MS Sans Serif and Tahoma, which Windows has and dialogs are designed for.
      for (const auto& font : fs::directory_iterator("/usr/share/wine/fonts")) {
        fs::copy_file(
            font.path(),
            TemplatePrefix() + "/drive_c/windows/Fonts/" + font.path().filename().string(),
            fs::copy_options::overwrite_existing);
      }
      std::ofstream(TemplatePrefix() + "/.ready-fonts") << "ok\n";
    }
  }
  void TearDown() override {
    if (xvfb_ > 0) {
      kill(-xvfb_, SIGTERM);
      WaitFor(xvfb_, 5);
    }
  }

 private:
  pid_t xvfb_ = 0;
};

[[maybe_unused]] testing::Environment* const kEnvironment =
    testing::AddGlobalTestEnvironment(new WineEnvironmentSetup);

}  // namespace

std::string CurrentTestName() {
  const auto* info = testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string(info->test_suite_name()) + "." + info->name();
  for (auto& c : name) {
    if (c == '/') c = '_';
  }
  return name;
}

WineSession::WineSession(const std::string& name) {
  dir_ = WorkRoot() + "/runs/" + name;
  prefix_ = dir_ + "/prefix";
  fs::remove_all(dir_);
  fs::create_directories(prefix_);
  // Wine never writes to its own system files, so the large drive can share them by hard
  // links; the registry files are copied so that each test starts from the prepared registry,
  // and the update stamp so that Wine does not set the prefix up again.
  std::string command = "cp -al '" + TemplatePrefix() + "/drive_c' '" + prefix_ + "/' && cp -a '" +
                        TemplatePrefix() + "/dosdevices' '" + TemplatePrefix() + "'/*.reg '" +
                        TemplatePrefix() + "/.update-timestamp' '" + prefix_ + "/'";
  if (std::system(command.c_str()) != 0) throw std::runtime_error("cannot copy the Wine prefix");
  fs::create_directories(UnixPath("C:\\e2e"));
  fs::create_directories(UnixPath("C:\\PVCS"));
  fs::create_directories(UnixPath("C:\\Temp"));
  Install("PvcsStandIn.exe", "C:\\e2e\\PvcsStandIn.exe");
  Install("UiProbe.exe", "C:\\e2e\\UiProbe.exe");
  Install("DialogProbe.exe", "C:\\e2e\\DialogProbe.exe");
  Install("Velmora.exe", "C:\\PVCS\\Velmora.exe");
  // One server for the prefix from the start, so that programs started at the same moment
  // (a request and the probe that watches it) never race to start it.
  Run({kWineServer, "-p"}, WineEnvironment(prefix_), dir_ + "/wine.log", 30);
}

WineSession::~WineSession() {
  Run({kWineServer, "-k"}, WineEnvironment(prefix_), dir_ + "/wine.log", 30);
  if (!getenv("VELMORA_E2E_KEEP")) fs::remove_all(prefix_);
}

std::string WineSession::TempDir() {
  const passwd* user = getpwuid(getuid());
  return std::string("C:\\users\\") + (user ? user->pw_name : "root") + "\\Temp";
}

std::string WineSession::UnixPath(const std::string& windowsPath) const {
  std::string path = windowsPath;
  if (path.size() >= 2 && (path[0] == 'C' || path[0] == 'c') && path[1] == ':')
    path = path.substr(2);
  for (auto& c : path) {
    if (c == '\\') c = '/';
  }
  return prefix_ + "/drive_c" + path;
}

void WineSession::WriteFile(const std::string& windowsPath, const std::string& bytes) const {
  fs::create_directories(fs::path(UnixPath(windowsPath)).parent_path());
  std::ofstream(UnixPath(windowsPath), std::ios::binary) << bytes;
}

std::string WineSession::ReadFile(const std::string& windowsPath) const {
  std::ifstream in(UnixPath(windowsPath), std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

bool WineSession::Exists(const std::string& windowsPath) const {
  return fs::exists(UnixPath(windowsPath));
}

void WineSession::Remove(const std::string& windowsPath) const {
  fs::remove(UnixPath(windowsPath));
}

void WineSession::Install(const std::string& program, const std::string& windowsPath) const {
  fs::create_directories(fs::path(UnixPath(windowsPath)).parent_path());
  fs::copy_file(std::string(VELMORA_WIN64_BIN) + "/" + program, UnixPath(windowsPath),
                fs::copy_options::overwrite_existing);
}

int WineSession::Wine(const std::vector<std::string>& args, int timeoutSeconds) const {
  std::vector<std::string> argv{kWine};
  argv.insert(argv.end(), args.begin(), args.end());
  return WaitFor(Spawn(argv, WineEnvironment(prefix_), dir_ + "/wine.log", cwd_), timeoutSeconds);
}

void WineSession::SetCurrentFolder(const std::string& windowsPath) {
  cwd_ = windowsPath.empty() ? "" : UnixPath(windowsPath);
}

void WineSession::RegAdd(const std::string& key, const std::string& name, const std::string& type,
                         const std::string& data, const std::string& extra) const {
  std::vector<std::string> args{"reg", "add", key, "/v", name, "/t", type, "/d", data, "/f"};
  if (!extra.empty()) args.push_back(extra);
  ASSERT_EQ(Wine(args, 60), 0) << "reg add " << key << " " << name;
}

RequestOutcome WineSession::RunLikePvcs(const std::string& commandLine, int boxes) const {
  WriteFile("C:\\e2e\\cmdline.txt", commandLine);
  Remove("C:\\e2e\\result.txt");
  Remove("C:\\e2e\\probe.txt");
  auto env = WineEnvironment(prefix_);
  pid_t probe = 0;
  if (boxes > 0) {
    probe =
        Spawn({kWine, "C:\\e2e\\UiProbe.exe", "C:\\e2e\\probe.txt", "40000", std::to_string(boxes)},
              env, dir_ + "/wine.log");
  }
  WaitFor(Spawn({kWine, "C:\\e2e\\PvcsStandIn.exe", "C:\\e2e\\cmdline.txt", "C:\\e2e\\result.txt",
                 "45000"},
                env, dir_ + "/wine.log", cwd_),
          60);
  if (probe) WaitFor(probe, 60);
  RequestOutcome outcome;
  outcome.launcher = ReadFile("C:\\e2e\\result.txt");
  outcome.boxes = ParseProbe(ReadFile("C:\\e2e\\probe.txt"));
  return outcome;
}

pid_t WineSession::Start(const std::vector<std::string>& args) const {
  std::vector<std::string> argv{kWine};
  argv.insert(argv.end(), args.begin(), args.end());
  return Spawn(argv, WineEnvironment(prefix_), dir_ + "/wine.log");
}

int WineSession::Finish(pid_t pid, int timeoutSeconds) const {
  return WaitFor(pid, timeoutSeconds);
}

void WineSession::StartLikePvcs(const std::string& commandLine, const std::string& folder) {
  WriteFile("C:\\e2e\\cmdline.txt", commandLine);
  Remove("C:\\e2e\\result.txt");
  std::vector<std::string> argv{kWine, "C:\\e2e\\PvcsStandIn.exe", "C:\\e2e\\cmdline.txt",
                                "C:\\e2e\\result.txt", "120000"};
  if (!folder.empty()) argv.push_back(folder);
  pvcs_ = Spawn(argv, WineEnvironment(prefix_), dir_ + "/wine.log");
}

std::string WineSession::FinishLikePvcs(int timeoutSeconds) {
  if (pvcs_ > 0) WaitFor(pvcs_, timeoutSeconds);
  pvcs_ = 0;
  return ReadFile("C:\\e2e\\result.txt");
}

std::string WineSession::Probe(const std::vector<std::string>& args, bool* ok) const {
  Remove("C:\\e2e\\dialog.txt");
  std::vector<std::string> argv{kWine, "C:\\e2e\\DialogProbe.exe", "C:\\e2e\\dialog.txt"};
  argv.insert(argv.end(), args.begin(), args.end());
  int code = Run(argv, WineEnvironment(prefix_), dir_ + "/wine.log", 60);
  if (ok) *ok = code == 0;
  return ReadFile("C:\\e2e\\dialog.txt");
}

std::string WineSession::RegQuery(const std::string& key, const std::string& value) const {
  std::vector<std::string> argv{kWine, "reg", "query", key};
  if (value.empty()) {
    argv.push_back("/s");
  } else {
    argv.insert(argv.end(), {"/v", value});
  }
  std::string out = dir_ + "/reg-query.txt";
  auto read = [&out] {
    std::ifstream in(out, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  };
  // A missing key or value is reg's own answer; a run that says nothing at all (a start that
  // failed on a loaded machine) is no answer and is asked again.
  for (int attempt = 0; attempt < 3; ++attempt) {
    fs::remove(out);
    if (Run(argv, WineEnvironment(prefix_), out, 60) == 0) return read();
    if (read().find("Unable to find") != std::string::npos) return {};
  }
  return {};
}

std::string WineSession::Screenshot(const std::string& name) const {
  std::string folder = WorkRoot() + "/artifacts";
  fs::create_directories(folder);
  std::string file = folder + "/" + name + ".png";
  Run({"/usr/bin/import", "-window", "root", file}, WineEnvironment(prefix_), dir_ + "/wine.log",
      30);
  return file;
}

void WineSession::InstallBuilt(const std::string& relativePath,
                               const std::string& windowsPath) const {
  fs::create_directories(fs::path(UnixPath(windowsPath)).parent_path());
  fs::copy_file(std::string(VELMORA_WIN64_BIN) + "/../" + relativePath, UnixPath(windowsPath),
                fs::copy_options::overwrite_existing);
}

std::vector<pid_t> WineSession::WindowsProcesses(const std::string& program) const {
  std::vector<pid_t> found;
  const std::string ownPrefix = "WINEPREFIX=" + prefix_;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator("/proc", error)) {
    std::string name = entry.path().filename();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::ifstream cmdline(entry.path() / "cmdline", std::ios::binary);
    std::string command((std::istreambuf_iterator<char>(cmdline)), {});
    if (command.find(program) == std::string::npos) continue;
    std::ifstream variables(entry.path() / "environ", std::ios::binary);
    bool ours = false;
    for (std::string variable; std::getline(variables, variable, '\0');)
      if (variable == ownPrefix) ours = true;
    if (!ours) continue;
    found.push_back(static_cast<pid_t>(std::stol(name)));
  }
  return found;
}

void WineSession::EndAllProcesses() const {
  Run({kWineServer, "-k"}, WineEnvironment(prefix_), dir_ + "/wine.log", 30);
  Run({kWineServer, "-w"}, WineEnvironment(prefix_), dir_ + "/wine.log", 30);
}

bool WineSession::WaitUntil(const std::function<bool()>& condition, int timeoutSeconds) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
  for (;;) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

namespace {

std::string& WineLangSetting() {
  static std::string lang = "en_US.UTF-8";
  return lang;
}

}  // namespace

const std::string& WineLang() {
  return WineLangSetting();
}

void SetWineLang(const std::string& lang) {
  WineLangSetting() = lang;
}

}  // namespace e2e
