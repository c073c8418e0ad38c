#include "support/SystemUtils.h"

#include <vector>

namespace velmora {
namespace {

constexpr uint32_t kPlatformNt = 2;

// Process-wide elevation cache; one thread uses it, so it is not locked.
struct AdminCache {
  bool computed = false;
  bool answer = false;
};

AdminCache& Cache() {
  static AdminCache cache;
  return cache;
}

}  // namespace

bool IsVistaOrLater(platform::ISystemInfo& system) {
  platform::VersionReport v = system.Version();
  return v.ok && v.platformId == kPlatformNt && v.majorVersion > 5;
}

bool IsAdmin(platform::ISystemInfo& system) {
  AdminCache& cache = Cache();
  if (cache.computed) return cache.answer;
  cache.computed = true;  // a failed first attempt is not retried
  cache.answer = !IsVistaOrLater(system) ||
                 system.AdministratorsMembership() == platform::AdminMembership::Member;
  return cache.answer;
}

void ResetIsAdminCache() {
  Cache() = AdminCache{};
}

// Both sizing protocols are retried with the larger size when the value grew between the
// sizing call and the filling call; a few rounds, then the call counts as failed.
constexpr int kSizingRounds = 3;

Text ExpandEnvStr(platform::IEnvironment& environment, const Text& text) {
  uint32_t needed = environment.ExpandStrings(text, nullptr, 0);
  for (int round = 0; round < kSizingRounds && needed != 0; ++round) {
    std::vector<char16_t> buffer(needed);
    uint32_t stored = environment.ExpandStrings(text, buffer.data(), needed);
    if (stored == 0) return {};
    if (stored <= needed) return Text(buffer.data(), stored - 1);
    needed = stored;
  }
  return {};
}

Text GetTempDir(platform::IEnvironment& environment) {
  uint32_t needed = environment.TempPath(0, nullptr);
  for (int round = 0; round < kSizingRounds && needed != 0; ++round) {
    std::vector<char16_t> buffer(needed, u'\0');
    uint32_t stored = environment.TempPath(needed, buffer.data());
    if (stored == 0) return {};
    if (stored < needed) return Text(buffer.data(), stored);  // the path without its NUL
    needed = stored;
  }
  return {};
}

Text ShortFileName(platform::IFileSystem& files, const Text& path) {
  auto entry = files.FindFirst(path);
  if (!entry) return {};
  // Names are read up to their first NUL, as from the fixed-size fields of the find record.
  Text alternate = entry->alternateName.substr(0, entry->alternateName.find(u'\0'));
  if (!alternate.empty()) return alternate;
  return entry->fileName.substr(0, entry->fileName.find(u'\0'));
}

Text ShortPathName(platform::IFileSystem& files, const Text& path) {
  // Elements are searched from the right, each with the whole remaining path.
  std::vector<Text> elements;
  Text work = path;
  for (size_t cut = work.rfind(u'\\'); cut != Text::npos; cut = work.rfind(u'\\')) {
    elements.push_back(ShortFileName(files, work));
    work.resize(cut);
  }
  Text result = work;
  for (auto it = elements.rbegin(); it != elements.rend(); ++it) {
    result += u'\\';
    result += *it;
  }
  return result;
}

bool FileHasAttr(platform::IFileSystem& files, const Text& fileName, uint32_t mask, bool all) {
  uint32_t attributes = files.Attributes(fileName);
  return all ? (attributes & mask) == mask : (attributes & mask) != 0;
}

uint32_t ClearFileAttr(platform::IFileSystem& files, const Text& fileName, uint32_t mask) {
  uint32_t attributes = files.Attributes(fileName);
  // 511 - mask, not ~mask: the bits above 0x100 go as well.
  return files.SetAttributes(fileName, attributes & (511 - mask));
}

bool DeleteFileEx(platform::IFileSystem& files, const Text& fileName, bool clearReadOnly) {
  if (clearReadOnly && FileHasAttr(files, fileName, platform::kAttrReadOnly, true) &&
      ClearFileAttr(files, fileName, platform::kAttrReadOnly) != 0)
    return false;
  return files.Delete(fileName) == 0;
}

}  // namespace velmora
