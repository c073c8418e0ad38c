// Reading the parameter file (and other text files the system reads) and looking up its
// name=value entries.
#pragma once

#include "platform/FileSystem.h"
#include "platform/Locale.h"
#include "request/TextDecoding.h"
#include "support/Text.h"

namespace velmora {

// Reads the whole file with read access while others may only read it, decodes it and cuts it
// into lines. Raises EVelmora "Cannot open file "%s". %s" with the full path and the system's
// text when it cannot be read.
TextLines ReadTextLines(platform::IFileSystem& files, platform::ILocale& locale, const Text& path);

// The value after the first "=" of the first line whose name (the text before that "=") equals
// `key` by the locale's case-insensitive comparison; empty when no line has that name.
Text GetNamedValue(platform::ILocale& locale, const TextLines& lines, const Text& key);

}  // namespace velmora
