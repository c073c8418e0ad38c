// The pending files on disk, so that they survive the server's end (a logoff, a crash) and the
// next run finishes them. One list per user:
//   %LOCALAPPDATA%\Velmora\VelmoraHelper.pending
// in UTF-8: the header line "VelmoraHelper pending deletions 2", then one line per file, its
// identity (volume serial number and file ID in hexadecimal, "-" when unknown), a blank and its
// final path, every line ending in CR LF. A name that is no valid UTF-16 (an unpaired
// surrogate, which NTFS allows) is written as the three bytes UTF-8 would give that code unit
// alone (WTF-8), so that every name reads back exactly. Lists headed
// "VelmoraHelper pending deletions 1" hold a final path per line and are still read.
//
// Server processes of one user may run side by side: each reads, merges and writes the list
// only while it holds the lock file beside it. The list is always replaced as a whole
// (written beside it under a name of the writing process's own, flushed, then moved over it),
// so a torn write leaves the previous list; whoever holds the lock next merges the complete
// lines of what a process that died while writing left behind, then removes it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "helper/PendingFile.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "support/Text.h"

namespace velmora {

inline constexpr char kPendingListHeader[] = "VelmoraHelper pending deletions 2";
inline constexpr char kPendingListHeaderVersion1[] = "VelmoraHelper pending deletions 1";

std::string FormatPendingList(const std::vector<PendingFile>& files);
// Every complete line (one that ends in a line break) that is not a header and not empty; an
// unfinished last line is what a torn write leaves and is dropped, and so is a line whose
// identity cannot be read.
std::vector<PendingFile> ParsePendingList(const std::string& bytes);
// `first` followed by the entries of `second` it lacks (see SamePending), without repeats.
std::vector<PendingFile> MergePending(const std::vector<PendingFile>& first,
                                      const std::vector<PendingFile>& second);

class PendingListFile {
 public:
  // How long a process waits for another one to finish with the list.
  static constexpr uint32_t kLockWaitMs = 2'000;

  // `process` tells this process's own files apart from those of others (its process ID).
  PendingListFile(platform::IFileSystem& files, platform::IEnvironment& environment,
                  const Text& process);
  // Where the list lives: under %LOCALAPPDATA%, else (when that is not set) in the temporary
  // directory.
  const Text& Path() const { return path_; }
  // The server's own record of what it decided on its own (one line each), beside the list.
  Text RecordPath() const;

  // Holds the list for this process until the lock is destroyed; creates the list's folder
  // when needed. Null when another process holds it (`busy`) or the lock cannot be made.
  std::unique_ptr<platform::IFileLock> Lock(bool* busy);
  // The list on disk together with the complete lines that interrupted replacements left.
  std::vector<PendingFile> Read();
  // Replaces the list. 0 on success, else the error code.
  uint32_t Write(const std::vector<PendingFile>& files);
  // Removes what interrupted replacements left, once Write has taken their lines over.
  void DropLeftovers();
  // Adds lines to the record, which keeps its latest lines only.
  void Record(const std::vector<Text>& lines);

 private:
  std::vector<Text> Leftovers();

  platform::IFileSystem& files_;
  Text path_;
  Text process_;
};

}  // namespace velmora
