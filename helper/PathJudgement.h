// Which files the deferred-deletion server may delete: regular files inside the user's
// temporary directory, judged on their final path (links and junctions resolved), never on the
// text of the path alone.
#pragma once

#include <cstdint>
#include <optional>

#include "helper/PendingFile.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "support/Text.h"

namespace velmora {

struct Verdict {
  enum class Kind {
    Accepted,
    InvalidPath,  // the text is no full path of a file: empty, relative, a device, wildcards
    NotAllowed,   // outside the temporary directory, a folder, a link, or not to be opened
    Missing,      // no such file
  };
  Kind kind = Kind::InvalidPath;
  Text finalPath;                                  // the file's final path, when accepted
  std::optional<platform::FileIdentity> identity;  // the accepted file's identity
  Text description;  // why it was refused, in English, naming the path
};

// The final path of the user's temporary directory (GetTempPathW, links resolved), without a
// trailing backslash; empty when it cannot be determined.
Text FinalTempDirectory(platform::IFileSystem& files, platform::IEnvironment& environment);

// True when `finalPath` lies inside `directory` (both final paths); letters a to z match in
// either case.
bool IsInsideDirectory(TextView finalPath, TextView directory);

// Why the text alone rules `path` out (empty, relative, a device or namespace spelling,
// wildcards, streams); empty when it may be looked at. Nothing is opened for this.
Text RefusalByText(const Text& path);

// The form in which the server opens `path`: "\\?\" before its full path, so that paths
// longer than MAX_PATH are judged and deleted like any other; "." and ".." are resolved first.
Text OpenablePath(platform::IFileSystem& files, const Text& path);

// Judges a path handed to the server. `tempDirectory` is FinalTempDirectory's answer.
Verdict JudgeRequest(platform::IFileSystem& files, const Text& tempDirectory, const Text& path);

enum class DeleteOutcome {
  Deleted,
  Gone,      // the file no longer exists: nothing left to do
  Held,      // another process still has it open without sharing deletion
  Refused,   // it is no longer a regular file inside the temporary directory: left alone
  Replaced,  // another file than the one accepted has its name now: left alone
  Failed,    // another failure; `error` tells which
};

struct DeleteAttempt {
  DeleteOutcome outcome = DeleteOutcome::Failed;
  uint32_t error = 0;
};

// Opens the file for deletion, judges what was opened once more (it may have been replaced by
// a link, a folder or another file since it was accepted) and deletes it through the same
// handle. A file whose identity was recorded is deleted only when the opened one has it.
DeleteAttempt DeleteIfSafe(platform::IFileSystem& files, const Text& tempDirectory,
                           const PendingFile& file);

}  // namespace velmora
