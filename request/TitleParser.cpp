#include "request/TitleParser.h"

#include "support/FileExists.h"
#include "support/Format.h"
#include "support/PatternMatcher.h"

namespace velmora {
namespace {

// A fresh matcher per question, with the modifiers a matcher has when created.
bool Matches(const char16_t* pattern, const Text& subject) {
  TPatternMatcher matcher;
  matcher.Pattern(pattern);
  return matcher.Search(subject);
}

}  // namespace

bool ParseTitle(platform::IFileSystem& files, const Text& title, Text& caption, Text& version) {
  {
    TPatternMatcher numbered;
    numbered.Pattern(u"File \\d:\\s+(.+)");
    if (numbered.Search(title)) return ParseFileTitle(numbered.GroupText(1), caption, version);
  }
  {
    TPatternMatcher role;
    role.Pattern(u"(.+)( - Derivative| - Ancestor)");
    if (role.Search(title)) return ParsePathTitle(files, role.GroupText(1), caption, version);
  }
  if (FileExists(files, title)) return true;
  return ParsePathTitle(files, title, caption, version);
}

bool ParseFileTitle(const Text& text, Text& caption, Text& version) {
  TPatternMatcher extension;
  extension.Pattern(u"(\\.\\w+)(\\s+|\\Z)");
  if (!extension.Search(text)) return false;
  // Positions are 1-based: the caption ends with the extension, and the version starts one
  // character after it, whatever that character is.
  size_t end = static_cast<size_t>(extension.GroupPos(1) - 1 + extension.GroupLen(1));
  caption = text.substr(0, end);
  version = end + 1 < text.size() ? text.substr(end + 1) : Text();
  if (!version.empty()) {
    bool revision = Matches(u"\\A(\\d+)(\\.(\\d+))+\\Z", version);
    version = Format(revision ? u" (Rev. %s)" : u" (Label %s)", {version});
  }
  return true;
}

bool ParsePathTitle(platform::IFileSystem& files, const Text& text, Text& caption, Text& version) {
  if (FileExists(files, text)) {
    caption = text;
    return true;
  }
  TPatternMatcher split;
  split.Pattern(u"(.+);(.+)");
  if (!split.Search(text)) return false;
  caption = split.GroupText(1);
  version = split.GroupText(2);
  bool revision = Matches(u"\\A(\\d+)(\\.(\\d+))*\\Z", version);
  version = Format(revision ? u" (Rev. %s)" : u";%s", {version});
  return true;
}

bool IsAbsolutePath(TextView path) {
  if (path.empty()) return false;
  if (path.size() >= 2 && path[0] == u'\\' && path[1] == u'\\') return true;
  size_t rooted = path.find(u":\\");
  return rooted != TextView::npos && rooted >= 1;
}

}  // namespace velmora
