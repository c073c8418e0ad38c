#include "app/CommandLineArgs.h"

namespace velmora {
namespace {

// Reads the token that starts at `pos` (after skipping separators and empty quoted pairs)
// and returns the position right after it. A NUL ends the command line.
size_t NextToken(TextView line, size_t pos, Text& token) {
  auto at = [&](size_t i) -> char16_t { return i < line.size() ? line[i] : u'\0'; };
  for (;;) {
    while (at(pos) != 0 && at(pos) <= 32) ++pos;
    if (at(pos) == u'"' && at(pos + 1) == u'"') {
      pos += 2;
    } else {
      break;
    }
  }
  token.clear();
  while (at(pos) > 32) {
    if (at(pos) == u'"') {
      ++pos;
      while (at(pos) != 0 && at(pos) != u'"') token += line[pos++];
      if (at(pos) != 0) ++pos;
    } else {
      token += line[pos++];
    }
  }
  return pos;
}

}  // namespace

CommandLineArgs::CommandLineArgs(Text commandLine, Text modulePath)
    : commandLine_(std::move(commandLine)), modulePath_(std::move(modulePath)) {}

int CommandLineArgs::Count() const {
  Text token;
  size_t pos = NextToken(commandLine_, 0, token);
  int count = 0;
  for (;;) {
    pos = NextToken(commandLine_, pos, token);
    if (token.empty()) return count;
    ++count;
  }
}

Text CommandLineArgs::Argument(int index) const {
  if (index == 0) return modulePath_;
  Text token;
  size_t pos = NextToken(commandLine_, 0, token);
  for (int i = 1; i <= index; ++i) {
    pos = NextToken(commandLine_, pos, token);
    if (token.empty()) break;
  }
  return token;
}

}  // namespace velmora
