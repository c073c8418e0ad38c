// The run log Velmora.log beside the parameter file: what PVCS handed over, how each side was
// understood, the command line, the timing and what became of each side's file.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/Locale.h"
#include "request/FileInfo.h"
#include "support/Text.h"

namespace velmora {

// The run's lines, in order, without line breaks.
using RunLog = std::vector<Text>;

// The parameter file's directory part (up to its last '\' or ':') followed by "Velmora.log".
Text RunLogPath(const Text& parameterFile);

// Appends the side's four description lines, and a fifth when the file stays on disk until
// the comparison program is closed.
void LogFileInfo(const TFileInfo& info, RunLog& lines);

// The log as saved before the comparison program starts: the parameter file's lines under
// "Tempfile:", both side descriptions and the command line.
RunLog AssembleRunLog(const std::vector<Text>& parameterLines, const TFileInfo& left,
                      const TFileInfo& right, const Text& commandLine);

// "CreateProcess returned after <seconds> seconds {<ready>/<ended>}".
Text TimingLine(const Text& elapsedSeconds, int32_t readyResult, int32_t endResult);

// Every line followed by CR LF, in the ANSI code page, without byte-order mark.
std::vector<uint8_t> EncodeRunLog(platform::ILocale& locale, const RunLog& lines);

// The pauses between tries while another process holds the log open: a few seconds in all.
inline constexpr uint32_t kLogSharingPauses[] = {50, 100, 200, 400, 800, 1000, 1000};

// Creates or replaces the log file, trying again after each of kLogSharingPauses while it is
// in use by another process. Raises EVelmora "Cannot create file "<path>". <reason>" when it
// cannot be written.
void SaveRunLog(platform::IFileSystem& files, platform::ILocale& locale, platform::IClock& clock,
                const Text& path, const RunLog& lines);

}  // namespace velmora
