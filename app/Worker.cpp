#include "app/Worker.h"

#include "settings/BeyondCompareDiscovery.h"
#include "settings/Settings.h"
#include "support/ErrorDisplay.h"
#include "support/Errors.h"
#include "support/FileExists.h"
#include "support/StartFailure.h"

namespace velmora {

using namespace platform;

namespace {

bool KeyDown(IWindowing& windowing, int virtualKey) {
  return windowing.AsyncKeyState(virtualKey) < 0;
}

// The program's file name: the system takes a '/' for a '\' as well, so it separates too.
Text ProgramFileName(const Text& path) {
  Text name = FileNameOf(path);
  return name.substr(name.find_last_of(u'/') + 1);
}

}  // namespace

TfrmInvisible::TfrmInvisible(Platform& platform, ISetupDialog& setup, IComparisonRun& comparison)
    : platform_(platform), setup_(setup), comparison_(comparison) {}

void TfrmInvisible::FormCreate() {
  platform_.windowing.SetWorkerSize(0, 0);
}

void TfrmInvisible::FormShow() {
  platform_.windowing.Show(AppWindow::Owner, kSwHide);
  platform_.windowing.SetIdleHandler([this] { OnIdle(); });
}

bool TfrmInvisible::FirstCall() {
  return IsFirstCall(platform_.registry);
}

bool TfrmInvisible::WantBC2() {
  return IsBC2Wanted(platform_.registry);
}

Text TfrmInvisible::BC2Path(Platform& platform) {
  return ResolveComparisonProgram(platform);
}

CommandLineArgs TfrmInvisible::Arguments() {
  return CommandLineArgs(platform_.self.CommandLine(), platform_.self.ModulePath());
}

void TfrmInvisible::OnIdle() {
  platform_.windowing.SetIdleHandler(nullptr);
  try {
    ServeRequest();
  } catch (const EVelmora& error) {
    ShowApplicationError(platform_, error.Message());
  } catch (const std::exception& error) {
    ShowApplicationError(platform_, FromUtf8(error.what()));
  }
  // Also after an error: PVCS waits for this process, so it must never linger invisibly.
  platform_.windowing.CloseWorker();
}

void TfrmInvisible::ServeRequest() {
  bool setup = FirstCall();
  if (!setup) {
    setup = KeyDown(platform_.windowing, kVkControl) && KeyDown(platform_.windowing, kVkShift);
  }
  if (setup) {
    platform_.windowing.Show(AppWindow::Owner, kSwShowNormal);
    setup_.Execute(BC2Path(platform_));
    return;
  }
  platform_.windowing.Show(AppWindow::Worker, kSwHide);
  if (!RunBeyondCompare(BC2Path(platform_))) RunOriginalTool();
}

bool TfrmInvisible::RunBeyondCompare(const Text& bc2Path) {
  if (!WantBC2()) return false;
  if (!FileExists(platform_.files, bc2Path)) return false;
  Text parameterFile = Arguments().Last();
  if (!FileExists(platform_.files, parameterFile)) return false;

  // Also a stored BCompare.exe: it would return at once while Beyond Compare is already open.
  const Text program = PreferCommandLineLauncher(platform_.files, bc2Path);
  fIsBC3 = EqualsIgnoreAsciiCase(ProgramFileName(program), u"BComp.exe");
  comparison_.Run(program, parameterFile, fIsBC3);
  return true;
}

void TfrmInvisible::RunOriginalTool() {
  ProcessStart start;
  start.applicationName = platform_.self.ModulePath() + u".exe";
  start.commandLine = platform_.self.CommandLine();
  start.startupFlags = kStartfUseShowWindow | kStartfForceOnFeedback;
  start.showWindow = kSwShowNormal;
  start.creationFlags = kNormalPriorityClass;

  StartResult started = platform_.processes.Start(start);
  if (started.process) {
    started.process->WaitUntilReady(kInfinite);
    started.process->WaitUntilEnded(kInfinite);
    started.process->CloseHandles();
    return;
  }
  platform_.dialogs.ErrorDialog(StartFailureText(*start.applicationName, started.error,
                                                 platform_.locale.SystemErrorText(started.error)));
}

}  // namespace velmora
