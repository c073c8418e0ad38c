#include "helper/PendingList.h"

#include "platform/ErrorCodes.h"

namespace velmora {

namespace {

Text Expand(platform::IEnvironment& environment, const Text& source) {
  uint32_t needed = environment.ExpandStrings(source, nullptr, 0);
  if (needed == 0) return {};
  Text buffer(needed, u'\0');
  uint32_t stored = environment.ExpandStrings(source, buffer.data(), needed);
  if (stored == 0 || stored > needed) return {};
  return buffer.substr(0, stored - 1);
}

Text TempPath(platform::IEnvironment& environment) {
  uint32_t needed = environment.TempPath(0, nullptr);
  if (needed == 0) return {};
  Text buffer(needed + 1, u'\0');
  uint32_t stored = environment.TempPath(needed + 1, buffer.data());
  return stored == 0 || stored > needed ? Text() : buffer.substr(0, stored);
}

std::vector<Text> ReadList(platform::IFileSystem& files, const Text& path) {
  auto read = files.ReadWhole(path, platform::Sharing::ReadOnly);
  if (!read.ok) return {};
  return ParsePendingList(std::string(read.bytes.begin(), read.bytes.end()));
}

}  // namespace

std::string FormatPendingList(const std::vector<Text>& paths) {
  std::string out = std::string(kPendingListHeader) + "\r\n";
  for (const Text& path : paths) out += ToUtf8(path) + "\r\n";
  return out;
}

std::vector<Text> ParsePendingList(const std::string& bytes) {
  std::vector<Text> paths;
  size_t start = 0;
  for (;;) {
    size_t end = bytes.find('\n', start);
    if (end == std::string::npos) break;  // no line break: unfinished
    std::string line = bytes.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line == kPendingListHeader) continue;
    paths.push_back(FromUtf8(line));
  }
  return paths;
}

std::vector<Text> MergePaths(const std::vector<Text>& first, const std::vector<Text>& second) {
  std::vector<Text> merged;
  auto add = [&](const Text& path) {
    for (const Text& known : merged)
      if (EqualsIgnoreAsciiCase(known, path)) return;
    merged.push_back(path);
  };
  for (const Text& path : first) add(path);
  for (const Text& path : second) add(path);
  return merged;
}

PendingListFile::PendingListFile(platform::IFileSystem& files, platform::IEnvironment& environment)
    : files_(files) {
  Text folder = Expand(environment, u"%LOCALAPPDATA%");
  if (folder.empty() || folder.find(u'%') != Text::npos) {
    folder = TempPath(environment);
  } else {
    if (folder.back() != u'\\') folder += u'\\';
    folder += u"Velmora\\";
  }
  path_ = folder + u"VelmoraHelper.pending";
}

std::vector<Text> PendingListFile::Read() {
  return MergePaths(ReadList(files_, path_), ReadList(files_, path_ + u".new"));
}

uint32_t PendingListFile::Write(const std::vector<Text>& paths) {
  std::string bytes = FormatPendingList(paths);
  std::vector<uint8_t> data(bytes.begin(), bytes.end());
  uint32_t error = files_.ReplaceWhole(path_, data);
  if (error == platform::kErrorPathNotFound) {
    files_.CreateFolder(DirectoryOf(path_));
    error = files_.ReplaceWhole(path_, data);
  }
  return error;
}

void PendingListFile::DropLeftover() {
  files_.Delete(path_ + u".new");
}

}  // namespace velmora
