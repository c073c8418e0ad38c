#include "helper/PendingList.h"

#include <cstdio>

#include "platform/ErrorCodes.h"

namespace velmora {

namespace {

// The record keeps this many of its latest lines.
constexpr size_t kRecordLines = 200;

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

std::vector<PendingFile> ReadList(platform::IFileSystem& files, const Text& path) {
  auto read = files.ReadWhole(path, platform::Sharing::ReadOnly);
  if (!read.ok) return {};
  return ParsePendingList(std::string(read.bytes.begin(), read.bytes.end()));
}

// UTF-8 as ToUtf8 writes it, where a lone surrogate stands as the three bytes of its code unit
// (ED A0 80 to ED BF BF); everything else decodes as UTF-8 does.
Text FromListUtf8(std::string_view bytes) {
  Text out;
  size_t start = 0;
  for (size_t i = 0; i + 2 < bytes.size(); ++i) {
    auto b0 = static_cast<uint8_t>(bytes[i]), b1 = static_cast<uint8_t>(bytes[i + 1]),
         b2 = static_cast<uint8_t>(bytes[i + 2]);
    if (b0 != 0xED || b1 < 0xA0 || b1 > 0xBF || b2 < 0x80 || b2 > 0xBF) continue;
    out += FromUtf8(bytes.substr(start, i - start));
    out += static_cast<char16_t>(0xD000 | (b1 & 0x3F) << 6 | (b2 & 0x3F));
    i += 2;
    start = i + 1;
  }
  out += FromUtf8(bytes.substr(start));
  return out;
}

std::string IdentityText(const std::optional<platform::FileIdentity>& identity) {
  if (!identity) return "-";
  char text[32];
  std::snprintf(text, sizeof(text), "%08X-%016llX", identity->volumeSerial,
                static_cast<unsigned long long>(identity->fileId));
  return text;
}

// "-" or eight and sixteen hexadecimal digits joined by "-"; false for anything else.
bool ParseIdentity(std::string_view text, std::optional<platform::FileIdentity>& identity) {
  identity.reset();
  if (text == "-") return true;
  if (text.size() != 25 || text[8] != '-') return false;
  uint64_t parts[2] = {0, 0};
  for (size_t i = 0, part = 0; i < text.size(); ++i) {
    if (i == 8) {
      part = 1;
      continue;
    }
    char c = text[i];
    int digit = c >= '0' && c <= '9'   ? c - '0'
                : c >= 'A' && c <= 'F' ? c - 'A' + 10
                : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                       : -1;
    if (digit < 0) return false;
    parts[part] = parts[part] << 4 | static_cast<uint64_t>(digit);
  }
  identity = platform::FileIdentity{static_cast<uint32_t>(parts[0]), parts[1]};
  return true;
}

}  // namespace

std::string FormatPendingList(const std::vector<PendingFile>& files) {
  std::string out = std::string(kPendingListHeader) + "\r\n";
  for (const PendingFile& file : files)
    out += IdentityText(file.identity) + " " + ToUtf8(file.path) + "\r\n";
  return out;
}

std::vector<PendingFile> ParsePendingList(const std::string& bytes) {
  std::vector<PendingFile> files;
  bool withIdentities = false;  // version 1, or no header at all: paths alone
  size_t start = 0;
  for (;;) {
    size_t end = bytes.find('\n', start);
    if (end == std::string::npos) break;  // no line break: unfinished
    std::string_view line(bytes.data() + start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line == kPendingListHeader || line == kPendingListHeaderVersion1) {
      withIdentities = line == kPendingListHeader;
      continue;
    }
    if (line.empty()) continue;
    PendingFile file;
    if (withIdentities) {
      size_t blank = line.find(' ');
      if (blank == std::string_view::npos || !ParseIdentity(line.substr(0, blank), file.identity))
        continue;
      line.remove_prefix(blank + 1);
      if (line.empty()) continue;
    }
    file.path = FromListUtf8(line);
    files.push_back(std::move(file));
  }
  return files;
}

std::vector<PendingFile> MergePending(const std::vector<PendingFile>& first,
                                      const std::vector<PendingFile>& second) {
  std::vector<PendingFile> merged;
  auto add = [&](const PendingFile& file) {
    for (const PendingFile& known : merged)
      if (SamePending(known, file)) return;
    merged.push_back(file);
  };
  for (const PendingFile& file : first) add(file);
  for (const PendingFile& file : second) add(file);
  return merged;
}

PendingListFile::PendingListFile(platform::IFileSystem& files, platform::IEnvironment& environment,
                                 const Text& process)
    : files_(files), process_(process) {
  Text folder = Expand(environment, u"%LOCALAPPDATA%");
  if (folder.empty() || folder.find(u'%') != Text::npos) {
    folder = TempPath(environment);
  } else {
    if (folder.back() != u'\\') folder += u'\\';
    folder += u"Velmora\\";
  }
  path_ = folder + u"VelmoraHelper.pending";
}

Text PendingListFile::RecordPath() const {
  return DirectoryOf(path_) + u"VelmoraHelper.log";
}

std::unique_ptr<platform::IFileLock> PendingListFile::Lock(bool* busy) {
  const Text lockPath = path_ + u".lock";
  uint32_t error = 0;
  auto lock = files_.Lock(lockPath, kLockWaitMs, &error);
  if (!lock && error == platform::kErrorPathNotFound) {
    files_.CreateFolder(DirectoryOf(path_));
    lock = files_.Lock(lockPath, kLockWaitMs, &error);
  }
  if (busy != nullptr) *busy = !lock && error == platform::kErrorSharingViolation;
  return lock;
}

std::vector<Text> PendingListFile::Leftovers() {
  std::vector<Text> paths;
  // "….pending.new" of earlier versions and "….pending.<process>.new".
  for (const auto& found : files_.FindAll(path_ + u"*.new"))
    if (!(found.attributes & platform::kAttrDirectory))
      paths.push_back(DirectoryOf(path_) + found.fileName);
  return paths;
}

std::vector<PendingFile> PendingListFile::Read() {
  std::vector<PendingFile> files = ReadList(files_, path_);
  for (const Text& leftover : Leftovers()) files = MergePending(files, ReadList(files_, leftover));
  return files;
}

uint32_t PendingListFile::Write(const std::vector<PendingFile>& files) {
  std::string bytes = FormatPendingList(files);
  std::vector<uint8_t> data(bytes.begin(), bytes.end());
  const Text fresh = path_ + u"." + process_ + u".new";
  uint32_t error = files_.ReplaceWhole(path_, data, fresh);
  if (error == platform::kErrorPathNotFound) {
    files_.CreateFolder(DirectoryOf(path_));
    error = files_.ReplaceWhole(path_, data, fresh);
  }
  return error;
}

void PendingListFile::DropLeftovers() {
  for (const Text& leftover : Leftovers()) files_.Delete(leftover);
}

void PendingListFile::Record(const std::vector<Text>& lines) {
  if (lines.empty()) return;
  const Text path = RecordPath();
  auto read = files_.ReadWhole(path, platform::Sharing::ReadOnly);
  std::string text(read.bytes.begin(), read.bytes.end());
  for (const Text& line : lines) text += ToUtf8(line) + "\r\n";
  size_t count = 0, cut = text.size();
  while (cut > 0) {
    size_t previous = text.rfind('\n', cut - 1);
    if (previous == std::string::npos) break;
    if (++count > kRecordLines) {
      text.erase(0, previous + 1);
      break;
    }
    cut = previous;
  }
  std::vector<uint8_t> data(text.begin(), text.end());
  if (files_.WriteWhole(path, data) == platform::kErrorPathNotFound) {
    files_.CreateFolder(DirectoryOf(path));
    files_.WriteWhole(path, data);
  }
}

}  // namespace velmora
