// What the installer's end-to-end tests share: a prefix with both installers (the release one
// and the test build that can be stopped before each step), the silent runs, and a snapshot of
// everything an install may change.
#pragma once

#include <gtest/gtest.h>
#include <iconv.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "WineHarness.h"

namespace installer_e2e {

inline const std::string kSetup = std::string("Velmora-Setup-") + VELMORA_VERSION + ".exe";
inline const std::string kTool = "C:\\Merant\\pvcsmrg.exe";
inline const std::string kUninstallKey =
    "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Velmora";
inline const std::string kClassKey = "HKCR\\CLSID\\{3F990032-0766-453D-AC59-3A33A8722940}";
inline const std::string kSettings = "HKCU\\Software\\Tessmark\\Velmora";
inline constexpr int kPatienceSeconds = 60;

// Non-ASCII file names need a locale that Wine can use for them.
struct Utf8Locale {
  Utf8Locale() { e2e::SetWineLang("C.UTF-8"); }
  ~Utf8Locale() { e2e::SetWineLang("en_US.UTF-8"); }
};

// "reg query" writes to a file in the OEM code page (850).
inline std::string FromOem(const std::string& oem) {
  iconv_t convert = iconv_open("UTF-8", "CP850");
  std::string out(oem.size() * 3, '\0');
  char* in = const_cast<char*>(oem.data());
  char* to = out.data();
  size_t inLeft = oem.size(), outLeft = out.size();
  iconv(convert, &in, &inLeft, &to, &outLeft);
  iconv_close(convert);
  out.resize(out.size() - outLeft);
  return out;
}

// A string value from "reg query" output, or "none".
inline std::string ValueOf(const std::string& regOutput, const std::string& name) {
  std::istringstream lines(FromOem(regOutput));
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::string marker = "    " + name + "    REG_SZ    ";
    if (line.rfind(marker, 0) == 0) return line.substr(marker.size());
  }
  return "none";
}

class InstallerRun : public testing::Test {
 protected:
  InstallerRun() : wine(e2e::CurrentTestName()) {
    wine.InstallBuilt(kSetup, "C:\\e2e\\" + kSetup);
    wine.InstallBuilt("tests/Velmora-Setup-stops.exe", "C:\\e2e\\Velmora-Setup-stops.exe");
    wine.Install("VelmoraHelper.exe", "C:\\e2e\\VelmoraHelper.exe");
    velmora = wine.ReadFile("C:\\PVCS\\Velmora.exe");
    helper = wine.ReadFile("C:\\e2e\\VelmoraHelper.exe");
  }

  // Puts the stand-in merge tool at `tool`.
  void PlaceTool(const std::string& tool) {
    wine.Install("StandInGui.exe", tool);
    original = wine.ReadFile(tool);
  }

  // Runs a command line exactly as given, as a launcher would; the exit code as text.
  std::string Run(const std::string& commandLine) {
    return wine.RunLikePvcs(commandLine, 0).launcher;
  }
  std::string Setup(const std::string& tool, const std::string& setup = kSetup) {
    return Run("C:\\e2e\\" + setup + " /S \"/TOOL=" + tool + "\"");
  }

  // The usual silent uninstall, which restarts itself from the temporary folder: waits for its
  // effect and for its end.
  bool Uninstall(const std::string& folder) {
    if (wine.Wine({folder + "\\Velmora-uninstall.exe", "/S"}, kPatienceSeconds) != 0) return false;
    return e2e::WineSession::WaitUntil([&] { return wine.RegQuery(kUninstallKey).empty(); },
                                       kPatienceSeconds) &&
           e2e::WineSession::WaitUntil([&] { return wine.WindowsProcesses("_?=").empty(); },
                                       kPatienceSeconds);
  }

  // The folder's files, each named by what it holds; the tool the uninstall entry records; the
  // program the server's class key starts.
  std::string State(const std::string& folder) const {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(wine.UnixPath(folder))) {
      std::ifstream in(entry.path(), std::ios::binary);
      std::string bytes((std::istreambuf_iterator<char>(in)), {});
      std::string name = entry.path().filename().string();
      if (name.rfind("vlm", 0) == 0 && name.size() > 4 && name.substr(name.size() - 4) == ".tmp")
        name = "vlm*.tmp";
      files[name] = bytes == original                 ? "original"
                    : bytes == velmora                ? "Velmora"
                    : bytes == helper                 ? "server"
                    : name == "Velmora-uninstall.exe" ? "uninstaller"
                                                      : std::to_string(bytes.size()) + " bytes";
    }
    std::string state;
    for (const auto& [name, what] : files) state += name + "=" + what + " ";
    state += "| entry: " + ValueOf(wine.RegQuery(kUninstallKey, "Tool"), "Tool");
    state += " | server: " + ValueOf(wine.RegQuery(kClassKey + "\\LocalServer32"), "(Default)");
    return state;
  }
  // The states before an install and after a complete one, for the tool `name` in `folder`.
  static std::string Before(const std::string& name = "pvcsmrg.exe") {
    return name + "=original | entry: none | server: none";
  }
  static std::string Installed(const std::string& folder, const std::string& name = "pvcsmrg.exe") {
    std::string server = folder + "\\VelmoraHelper.exe";
    if (server.find(' ') != std::string::npos) server = "\"" + server + "\"";
    return "Velmora-uninstall.exe=uninstaller VelmoraHelper.exe=server " + name + "=Velmora " +
           name + ".exe=original | entry: " + folder + "\\" + name + " | server: " + server;
  }

  Utf8Locale locale;
  e2e::WineSession wine;
  std::string original, velmora, helper;
};

}  // namespace installer_e2e
