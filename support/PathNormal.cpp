#include "support/PathNormal.h"

#include "support/SystemUtils.h"

namespace velmora {

Text NormalisedFullPath(platform::IFileSystem& files, const Text& path) {
  Text name = path;
  for (char16_t& c : name)
    if (c == u'/') c = u'\\';
  // GetFullPathNameW leaves such names as they are, so the prefix is taken off first.
  if (StartsWith(name, u"\\\\?\\UNC\\"))
    name = u"\\\\" + name.substr(8);
  else if (StartsWith(name, u"\\\\?\\"))
    name = name.substr(4);
  if (name.empty()) return name;
  return files.FullPathName(name);
}

bool SameFileName(platform::IFileSystem& files, platform::ILocale& locale, const Text& a,
                  const Text& b) {
  Text fullA = NormalisedFullPath(files, a), fullB = NormalisedFullPath(files, b);
  if (!locale.EqualIgnoreCase(FileNameOf(fullA), FileNameOf(fullB))) return false;
  return UpperAscii(ShortPathName(files, DirectoryOf(fullA))) ==
         UpperAscii(ShortPathName(files, DirectoryOf(fullB)));
}

}  // namespace velmora
