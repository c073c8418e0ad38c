#include "launch/RunLog.h"

#include "platform/ErrorCodes.h"
#include "support/Errors.h"
#include "support/Format.h"

namespace velmora {

Text RunLogPath(const Text& parameterFile) {
  return DirectoryOf(parameterFile) + u"Velmora.log";
}

void LogFileInfo(const TFileInfo& info, RunLog& lines) {
  lines.push_back(Format(u"PVCS File   > \"%s\"", {info.FileFromPVCS}));
  lines.push_back(Format(u"Origin Name > \"%s\"", {info.CaptionForBC}));
  lines.push_back(Format(u"Version     > \"%s\"", {info.Version}));
  lines.push_back(Format(u"FileForBC   > \"%s\"", {info.FileForBC}));
  if (info.UseHelper)
    lines.push_back(u"------------> The file remains on disk until Beyond Compare is closed");
}

RunLog AssembleRunLog(const std::vector<Text>& parameterLines, const TFileInfo& left,
                      const TFileInfo& right, const Text& commandLine) {
  RunLog lines{u"Tempfile:", u"========="};
  lines.insert(lines.end(), parameterLines.begin(), parameterLines.end());
  lines.insert(lines.end(), {u"", u"Left:", u"====="});
  LogFileInfo(left, lines);
  lines.insert(lines.end(), {u"", u"Right:", u"======"});
  LogFileInfo(right, lines);
  lines.insert(lines.end(),
               {u"", u"Comparison:", u"===========", u"CreateProcess: " + commandLine});
  return lines;
}

Text TimingLine(const Text& elapsedSeconds, int32_t readyResult, int32_t endResult) {
  return Format(u"CreateProcess returned after %s seconds {%d/%d}",
                {elapsedSeconds, int64_t{readyResult}, int64_t{endResult}});
}

std::vector<uint8_t> EncodeRunLog(platform::ILocale& locale, const RunLog& lines) {
  Text whole;
  for (const Text& line : lines) whole += line + u"\r\n";
  std::string ansi = locale.TextToAnsi(whole);
  return std::vector<uint8_t>(ansi.begin(), ansi.end());
}

void SaveRunLog(platform::IFileSystem& files, platform::ILocale& locale, platform::IClock& clock,
                const Text& path, const RunLog& lines) {
  const std::vector<uint8_t> bytes = EncodeRunLog(locale, lines);
  uint32_t error = files.WriteWhole(path, bytes);
  // Requests started together share the log of their folder: while another one writes it,
  // wait for it a little, then the last save wins.
  for (uint32_t pause : kLogSharingPauses) {
    if (error != platform::kErrorSharingViolation) break;
    clock.Sleep(pause);
    error = files.WriteWhole(path, bytes);
  }
  if (error == 0) return;
  // Trimmed as the system error message is elsewhere: no trailing line break or period.
  throw EVelmora(Format(u"Cannot create file \"%s\". %s",
                        {files.FullPathName(path), TrimSystemText(locale.SystemErrorText(error))}),
                 u"EFCreateError");
}

}  // namespace velmora
