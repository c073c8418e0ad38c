// The pending files on disk, so that they survive the server's end (a logoff, a crash) and the
// next run finishes them. One file per user:
//   %LOCALAPPDATA%\Velmora\VelmoraHelper.pending
// in UTF-8: the header line "VelmoraHelper pending deletions 1", then one final path per line,
// every line ending in CR LF. It is always replaced as a whole (written beside it as ".new",
// flushed, then moved over it), so a torn write leaves the previous list intact.
#pragma once

#include <string>
#include <vector>

#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "support/Text.h"

namespace velmora {

inline constexpr char kPendingListHeader[] = "VelmoraHelper pending deletions 1";

std::string FormatPendingList(const std::vector<Text>& paths);
// Every complete line (one that ends in a line break) that is not the header and not empty;
// an unfinished last line is what a torn write leaves and is dropped.
std::vector<Text> ParsePendingList(const std::string& bytes);
// `first` followed by the paths of `second` it lacks (letters a to z in either case), without
// repeats.
std::vector<Text> MergePaths(const std::vector<Text>& first, const std::vector<Text>& second);

class PendingListFile {
 public:
  PendingListFile(platform::IFileSystem& files, platform::IEnvironment& environment);
  // Where the list lives: under %LOCALAPPDATA%, else (when that is not set) in the temporary
  // directory.
  const Text& Path() const { return path_; }
  // The list on disk together with what an interrupted replacement left in its ".new" file.
  std::vector<Text> Read();
  // Replaces the list; creates its folder when needed. 0 on success, else the error code.
  uint32_t Write(const std::vector<Text>& paths);
  // Removes a ".new" file left by an interrupted replacement, once its paths are merged.
  void DropLeftover();

 private:
  platform::IFileSystem& files_;
  Text path_;
};

}  // namespace velmora
