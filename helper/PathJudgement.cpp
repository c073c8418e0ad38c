#include "helper/PathJudgement.h"

#include <array>
#include <vector>

#include "platform/ErrorCodes.h"
#include "support/Format.h"

namespace velmora {

using platform::EntryAccess;
using platform::IOpenEntry;

namespace {

Verdict Refuse(Verdict::Kind kind, const Text& description) {
  Verdict verdict;
  verdict.kind = kind;
  verdict.description = description;
  return verdict;
}

Text Quoted(const Text& path) {
  return u"\"" + path + u"\"";
}

// "C:\..." or "\\server\share\...".
bool IsFullPath(TextView path) {
  bool letter = !path.empty() && UpperAscii(path[0]) >= u'A' && UpperAscii(path[0]) <= u'Z';
  if (path.size() >= 3 && letter && path[1] == u':' && path[2] == u'\\') return true;
  if (path.size() < 5 || path.substr(0, 2) != u"\\\\") return false;
  size_t share = path.find(u'\\', 2);
  return share != TextView::npos && share > 2 && share + 1 < path.size() &&
         path[share + 1] != u'\\';
}

bool HasForbiddenCharacter(TextView path) {
  for (size_t i = 0; i < path.size(); ++i) {
    char16_t c = path[i];
    if (c < 32 || c == u'*' || c == u'?' || c == u'<' || c == u'>' || c == u'"' || c == u'|')
      return true;
    if (c == u':' && i != 1) return true;  // only a drive letter's colon; no alternate streams
  }
  return false;
}

// CON, NUL, COM1 and the others name devices in every folder, with any extension.
bool NamesDevice(TextView element) {
  size_t end = element.find(u'.');
  Text base = UpperAscii(element.substr(0, end));
  while (!base.empty() && base.back() == u' ') base.pop_back();
  static const std::array<TextView, 6> kNames = {u"CON", u"PRN",    u"AUX",
                                                 u"NUL", u"CONIN$", u"CONOUT$"};
  for (TextView name : kNames)
    if (base == name) return true;
  return base.size() == 4 && (base.substr(0, 3) == u"COM" || base.substr(0, 3) == u"LPT") &&
         base[3] >= u'0' && base[3] <= u'9';
}

bool HasDeviceElement(TextView path) {
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find(u'\\', start);
    if (end == TextView::npos) end = path.size();
    if (NamesDevice(path.substr(start, end - start))) return true;
    start = end + 1;
  }
  return false;
}

bool IsSeparator(char16_t c) {
  return c == u'\\' || c == u'/';
}

// "\\.\", "\\?\", "//./", "\\./", "\??\" and the like lead to devices and the object
// namespace, and "\\server\pipe\" and "\\server\mailslot\" to pipes and mailslots.
bool NamesNamespace(TextView path) {
  if (path.size() >= 4 && IsSeparator(path[0]) && path[1] == u'?' && path[2] == u'?' &&
      IsSeparator(path[3]))
    return true;
  if (path.size() < 2 || !IsSeparator(path[0]) || !IsSeparator(path[1])) return false;
  size_t serverEnd = 2;
  while (serverEnd < path.size() && !IsSeparator(path[serverEnd])) ++serverEnd;
  TextView server = path.substr(2, serverEnd - 2);
  if (server.find_first_not_of(u".? ") == TextView::npos) return true;
  size_t shareEnd = serverEnd + 1;
  while (shareEnd < path.size() && !IsSeparator(path[shareEnd])) ++shareEnd;
  TextView share =
      serverEnd < path.size() ? path.substr(serverEnd + 1, shareEnd - serverEnd - 1) : TextView();
  return EqualsIgnoreAsciiCase(share, u"pipe") || EqualsIgnoreAsciiCase(share, u"mailslot");
}

// Refusal of the opened entry: a folder, a link or a place outside the temporary directory.
// Empty when it may be deleted.
Text WhyNot(IOpenEntry& entry, uint32_t pathAttributes, const Text& tempDirectory, const Text& path,
            const Text& finalPath) {
  uint32_t attributes = entry.Attributes();
  if (attributes == platform::kInvalidFileAttributes)
    return Format(u"The attributes of %s cannot be read.", {Quoted(path)});
  if ((attributes | pathAttributes) & platform::kAttrDirectory)
    return Format(u"%s is a folder; VelmoraHelper deletes only files.", {Quoted(path)});
  bool link = (attributes & platform::kAttrReparsePoint) ||
              (pathAttributes != platform::kInvalidFileAttributes &&
               (pathAttributes & platform::kAttrReparsePoint));
  if (link) return Format(u"%s is a link; VelmoraHelper deletes only files.", {Quoted(path)});
  if (tempDirectory.empty())
    return u"The temporary directory cannot be determined, so VelmoraHelper deletes nothing.";
  if (finalPath.empty())
    return Format(u"The final path of %s cannot be determined.", {Quoted(path)});
  if (!IsInsideDirectory(finalPath, tempDirectory))
    return Format(u"%s is not inside the temporary directory %s (its final path is %s).",
                  {Quoted(path), Quoted(tempDirectory), Quoted(finalPath)});
  return {};
}

}  // namespace

Text FinalTempDirectory(platform::IFileSystem& files, platform::IEnvironment& environment) {
  uint32_t needed = environment.TempPath(0, nullptr);
  if (needed == 0) return {};
  std::vector<char16_t> buffer(needed + 1, u'\0');
  uint32_t stored = environment.TempPath(needed + 1, buffer.data());
  if (stored == 0 || stored > needed) return {};
  Text temp(buffer.data(), stored);
  auto entry = files.OpenEntry(temp, EntryAccess::Resolve, nullptr);
  if (!entry || !(entry->Attributes() & platform::kAttrDirectory)) return {};
  Text finalPath = entry->FinalPath();
  while (!finalPath.empty() && finalPath.back() == u'\\') finalPath.pop_back();
  return finalPath;
}

bool IsInsideDirectory(TextView finalPath, TextView directory) {
  if (directory.empty() || finalPath.size() <= directory.size() + 1) return false;
  return EqualsIgnoreAsciiCase(finalPath.substr(0, directory.size()), directory) &&
         finalPath[directory.size()] == u'\\';
}

Text RefusalByText(const Text& path) {
  if (path.empty()) return u"VelmoraHelper was given an empty path.";
  if (NamesNamespace(path))
    return Format(
        u"%s is a device or namespace path; VelmoraHelper accepts only plain full "
        u"paths of files.",
        {Quoted(path)});
  if (!IsFullPath(path)) return Format(u"%s is not a full path.", {Quoted(path)});
  if (HasForbiddenCharacter(path))
    return Format(u"%s holds characters that no file name may hold.", {Quoted(path)});
  if (HasDeviceElement(path)) return Format(u"%s names a device, not a file.", {Quoted(path)});
  return {};
}

Text OpenablePath(platform::IFileSystem& files, const Text& path) {
  Text full = files.FullPathName(path);
  if (StartsWith(full, u"\\\\")) return u"\\\\?\\UNC\\" + full.substr(2);
  return u"\\\\?\\" + full;
}

Verdict JudgeRequest(platform::IFileSystem& files, const Text& tempDirectory, const Text& path) {
  using Kind = Verdict::Kind;
  Text why = RefusalByText(path);
  if (!why.empty()) return Refuse(Kind::InvalidPath, why);

  uint32_t error = 0;
  const Text openable = OpenablePath(files, path);
  auto entry = files.OpenEntry(openable, EntryAccess::Inspect, &error);
  if (!entry) {
    if (error == platform::kErrorFileNotFound || error == platform::kErrorPathNotFound)
      return Refuse(Kind::Missing, Format(u"%s does not exist.", {Quoted(path)}));
    return Refuse(Kind::NotAllowed, Format(u"%s cannot be opened (system error %s).",
                                           {Quoted(path), ToDecimal(error)}));
  }
  Text finalPath = entry->FinalPath();
  why = WhyNot(*entry, files.Attributes(openable), tempDirectory, path, finalPath);
  if (!why.empty()) return Refuse(Kind::NotAllowed, why);
  // What is deleted later must be this very file, not one made under its name meanwhile.
  auto identity = entry->Identity();
  if (!identity)
    return Refuse(Kind::NotAllowed,
                  Format(u"The identity of %s cannot be read, so VelmoraHelper cannot tell it "
                         u"from a file made later under the same name.",
                         {Quoted(path)}));
  Verdict verdict;
  verdict.kind = Kind::Accepted;
  verdict.finalPath = finalPath;
  verdict.identity = identity;
  return verdict;
}

DeleteAttempt DeleteIfSafe(platform::IFileSystem& files, const Text& tempDirectory,
                           const PendingFile& file) {
  if (!RefusalByText(file.path).empty()) return {DeleteOutcome::Refused, 0};
  uint32_t error = 0;
  const Text openable = OpenablePath(files, file.path);
  auto entry = files.OpenEntry(openable, EntryAccess::Delete, &error);
  if (!entry) {
    if (error == platform::kErrorFileNotFound || error == platform::kErrorPathNotFound)
      return {DeleteOutcome::Gone, error};
    if (error == platform::kErrorSharingViolation) return {DeleteOutcome::Held, error};
    return {DeleteOutcome::Failed, error};
  }
  if (!WhyNot(*entry, files.Attributes(openable), tempDirectory, file.path, entry->FinalPath())
           .empty())
    return {DeleteOutcome::Refused, 0};
  if (file.identity && entry->Identity() != file.identity) return {DeleteOutcome::Replaced, 0};
  error = entry->Delete();
  if (error == 0) return {DeleteOutcome::Deleted, 0};
  if (error == platform::kErrorSharingViolation) return {DeleteOutcome::Held, error};
  return {DeleteOutcome::Failed, error};
}

}  // namespace velmora
