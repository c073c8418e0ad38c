#include "request/TitleParser.h"

#include "support/FileExists.h"
#include "support/Format.h"
#include "support/PatternMatcher.h"

namespace velmora {
namespace {

// A matcher for one of the questions a title is asked, with the modifiers a matcher has when
// created. Every title asks the same few, so each thread keeps one matcher per question.
struct Question {
  explicit Question(const char16_t* pattern) { matcher.Pattern(pattern); }
  TPatternMatcher matcher;
};

bool IsRevision(const Text& version, bool oneDotAtLeast) {
  thread_local Question dotted(u"\\A(\\d+)(\\.(\\d+))+\\Z");
  thread_local Question plain(u"\\A(\\d+)(\\.(\\d+))*\\Z");
  return (oneDotAtLeast ? dotted : plain).matcher.Search(version);
}

}  // namespace

bool ParseTitle(platform::IFileSystem& files, const Text& title, Text& caption, Text& version) {
  thread_local Question numbered(u"File \\d:\\s+(.+)");
  if (numbered.matcher.Search(title))
    return ParseFileTitle(numbered.matcher.GroupText(1), caption, version);
  thread_local Question role(u"(.+)( - Derivative| - Ancestor)");
  if (role.matcher.Search(title))
    return ParsePathTitle(files, role.matcher.GroupText(1), caption, version);
  if (FileExists(files, title)) return true;
  return ParsePathTitle(files, title, caption, version);
}

bool ParseFileTitle(const Text& text, Text& caption, Text& version) {
  thread_local Question question(u"(\\.\\w+)(\\s+|\\Z)");
  TPatternMatcher& extension = question.matcher;
  if (!extension.Search(text)) return false;
  // Positions are 1-based: the caption ends with the extension, and the version starts one
  // character after it, whatever that character is.
  size_t end = static_cast<size_t>(extension.GroupPos(1) - 1 + extension.GroupLen(1));
  caption = text.substr(0, end);
  version = end + 1 < text.size() ? text.substr(end + 1) : Text();
  if (!version.empty()) {
    version = Format(IsRevision(version, true) ? u" (Rev. %s)" : u" (Label %s)", {version});
  }
  return true;
}

bool ParsePathTitle(platform::IFileSystem& files, const Text& text, Text& caption, Text& version) {
  if (FileExists(files, text)) {
    caption = text;
    return true;
  }
  thread_local Question question(u"(.+);(.+)");
  TPatternMatcher& split = question.matcher;
  if (!split.Search(text)) return false;
  caption = split.GroupText(1);
  version = split.GroupText(2);
  version = Format(IsRevision(version, false) ? u" (Rev. %s)" : u";%s", {version});
  return true;
}

bool IsAbsolutePath(TextView path) {
  if (path.empty()) return false;
  if (path.size() >= 2 && path[0] == u'\\' && path[1] == u'\\') return true;
  size_t rooted = path.find(u":\\");
  return rooted != TextView::npos && rooted >= 1;
}

}  // namespace velmora
