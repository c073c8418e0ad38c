#include "app/ProgramEntry.h"

#include "app/CommandLineArgs.h"
#include "support/ErrorDisplay.h"
#include "app/Worker.h"
#include "support/DateSettings.h"
#include "support/Errors.h"

namespace velmora {

int ProgramMain(platform::Platform& platform, ISetupDialog& setup, IComparisonRun& comparison) {
  // Start-up work of the support units comes first, then the application object with COM.
  LoadDateSettings(platform.locale);
  AdjustDateFormat(platform.locale);
  platform.com.InitializeApartment();
  CommandLineArgs args(platform.self.CommandLine(), platform.self.ModulePath());
  if (args.Count() == 0) {
    // Stand-alone setup: an error escaping the dialog ends the program with code 1.
    try {
      setup.Execute(TfrmInvisible::BC2Path(platform));
    } catch (const EVelmora& error) {
      ShowApplicationError(platform, error.Message());
      return 1;
    } catch (const std::exception& error) {
      ShowApplicationError(platform, FromUtf8(error.what()));
      return 1;
    }
    return 0;
  }
  TfrmInvisible worker(platform, setup, comparison);
  platform.windowing.RunWorker(worker);
  return 0;
}

}  // namespace velmora
