// PVCS titles: numbered file titles ("File 1: main.c 1.4"), paths with a role suffix
// (" - Derivative", " - Ancestor"), paths of existing files and paths with ";version". Each
// parse changes `caption` and `version` only when it returns true.
#pragma once

#include "platform/FileSystem.h"
#include "support/Text.h"

namespace velmora {

// True when the title was recognised.
bool ParseTitle(platform::IFileSystem& files, const Text& title, Text& caption, Text& version);

// `text` is the rest of a numbered file title; true when an extension was found.
bool ParseFileTitle(const Text& text, Text& caption, Text& version);

// True when the text is an existing file or holds a ";" with text on both sides.
bool ParsePathTitle(platform::IFileSystem& files, const Text& text, Text& caption, Text& version);

// True for a UNC path or a drive-rooted path (":\" after at least one character).
bool IsAbsolutePath(TextView path);

}  // namespace velmora
