// The hidden worker form: runs once at the first idle moment, serves one request (or shows the
// setup dialog instead) and closes, which ends the program.
#pragma once

#include "app/CommandLineArgs.h"
#include "launch/ComparisonRun.h"
#include "platform/Platform.h"
#include "settings/SetupDialog.h"

namespace velmora {

class TfrmInvisible : public platform::IWorkerForm {
 public:
  TfrmInvisible(platform::Platform& platform, ISetupDialog& setup, IComparisonRun& comparison);

  void FormCreate() override;
  void FormShow() override;
  void OnIdle();

  bool FirstCall();
  bool WantBC2();
  static Text BC2Path(platform::Platform& platform);

  bool fIsBC3 = false;

 private:
  void ServeRequest();
  bool RunBeyondCompare(const Text& bc2Path);
  void RunOriginalTool();
  CommandLineArgs Arguments();

  platform::Platform& platform_;
  ISetupDialog& setup_;
  IComparisonRun& comparison_;
};

}  // namespace velmora
