#include "platform/memory/MemoryFileSystem.h"

#include <functional>
#include <stdexcept>

#include "platform/ErrorCodes.h"
#include "platform/memory/CaseFold.h"

namespace velmora::platform {

namespace {

// File IDs are never reused, so a file made again under the same name has another one.
uint64_t NextFileId() {
  static uint64_t next = 0;
  return ++next;
}

}  // namespace

struct MemoryFileSystem::Node {
  enum class Held { None, Exclusive, Writing };
  Text name;       // the long name as stored; for a root "C:" or "\\server\share"
  Text alternate;  // the 8.3 name, empty when there is none
  bool directory = false;
  uint32_t attributes = 0;
  std::vector<uint8_t> bytes;
  Held held = Held::None;
  bool denied = false;
  uint32_t moveFailure = 0;
  uint32_t deleteFailure = 0;
  Node* parent = nullptr;
  std::map<Text, std::unique_ptr<Node>> children;  // by folded long name
  bool childAlternates = false;  // a child has been given an 8.3 name: look those up too
  Text linkTarget;               // not empty for a link
  uint64_t fileId = NextFileId();

  // What GetFileAttributesW reports: a file without attributes reads as "normal".
  uint32_t Reported() const {
    uint32_t link = linkTarget.empty() ? 0 : kAttrReparsePoint;
    if (directory) return attributes | kAttrDirectory | link;
    return (attributes == 0 && link == 0 ? kAttrNormal : attributes) | link;
  }
};

// Where a path leads: its parent folder and the entry itself, when they exist.
struct MemoryFileSystem::Lookup {
  uint32_t error = 0;      // a malformed path or a missing folder on the way
  Node* parent = nullptr;  // null for a root
  Node* node = nullptr;    // null when the entry does not exist
  Text leaf;               // the last element as written
  bool trailingSlash = false;
  bool root = false;  // the path names a drive root or a share

  // The error of an operation on an existing entry, or 0.
  uint32_t EntryError() const {
    if (error != 0) return error;
    if (node == nullptr) return parent != nullptr ? kErrorFileNotFound : kErrorPathNotFound;
    if (trailingSlash && !node->directory) return kErrorInvalidName;
    return 0;
  }
};

namespace {

struct ParsedPath {
  uint32_t error = 0;
  Text rootText;  // "C:" or "\\server\share"
  std::vector<Text> elements;
  bool trailingSlash = false;
};

bool IsWildcard(char16_t c) {
  return c == u'*' || c == u'?';
}

bool HasWildcard(TextView s) {
  for (char16_t c : s)
    if (IsWildcard(c)) return true;
  return false;
}

bool ValidElement(TextView element, bool allowWildcards) {
  for (char16_t c : element) {
    if (c < 32 || c == u'<' || c == u'>' || c == u':' || c == u'"' || c == u'|') return false;
    if (IsWildcard(c) && !allowWildcards) return false;
  }
  return true;
}

// Win32 drops trailing dots and spaces of a name ("a.txt." is "a.txt").
Text StripTrailingDotsAndSpaces(TextView element) {
  size_t end = element.find_last_not_of(u". ");
  return Text(end == TextView::npos ? element : element.substr(0, end + 1));
}

bool Matches(TextView pattern, TextView name) {
  if (pattern == u"*.*") pattern = u"*";  // Windows: "*.*" also matches names without a dot
  if (pattern.empty()) return name.empty();
  if (pattern[0] == u'*') {
    for (size_t i = 0; i <= name.size(); ++i)
      if (Matches(pattern.substr(1), name.substr(i))) return true;
    return false;
  }
  if (name.empty()) return false;
  if (pattern[0] != u'?' && FoldCase(pattern[0]) != FoldCase(name[0])) return false;
  return Matches(pattern.substr(1), name.substr(1));
}

Text Normalised(const Text& path) {
  Text s = path;
  for (auto& c : s)
    if (c == u'/') c = u'\\';
  return s;
}

// The root part of an absolute path: "C:" or "\\server\share"; empty when there is none.
Text RootOf(TextView s) {
  if (s.size() >= 2 && s[1] == u':') return Text(s.substr(0, 2));
  if (s.size() >= 2 && s[0] == u'\\' && s[1] == u'\\') {
    size_t server = s.find(u'\\', 2);
    if (server == Text::npos || server == 2) return {};
    size_t share = s.find(u'\\', server + 1);
    if (share == server + 1) return {};
    return Text(s.substr(0, share == TextView::npos ? s.size() : share));
  }
  return {};
}

// Makes the path absolute against `current` (a full path such as C:\work) and splits it.
ParsedPath Parse(const Text& path, const Text& current, bool allowWildcards) {
  ParsedPath out;
  // "\\?\C:\..." and "\\?\UNC\server\share\..." are taken as they stand: no "/" for
  // "\", no "." or ".." resolved, no trailing dots or blanks dropped.
  bool literal = path.starts_with(u"\\\\?\\");
  Text s = literal ? path.substr(4) : Normalised(path);
  if (literal && s.starts_with(u"UNC\\")) s = u"\\" + s.substr(3);
  if (s.empty()) {
    out.error = kErrorPathNotFound;
    return out;
  }
  if (s.size() >= 2 && s[0] == u'\\' && s[1] == u'\\') {
    if (RootOf(s).empty()) {
      out.error = kErrorPathNotFound;  // "\\server" without a share
      return out;
    }
  } else if (s.size() >= 2 && s[1] == u':') {
    bool absolute = s.size() >= 3 && s[2] == u'\\';
    if (!absolute) {  // drive-relative: the current folder if it is on that drive
      bool sameDrive = FoldCase(RootOf(current)) == FoldCase(s.substr(0, 2));
      s = (sameDrive ? current : s.substr(0, 2)) + u"\\" + s.substr(2);
    }
  } else if (s[0] == u'\\') {
    s = RootOf(current) + s;
  } else {
    s = current + u"\\" + s;
  }
  out.rootText = RootOf(s);
  // GetFullPathNameW takes any character before the colon for a drive letter; only opening
  // finds that no such drive exists. The path is still split, so that its full name is whole.
  if (out.rootText.size() == 2 &&
      !((s[0] >= u'A' && s[0] <= u'Z') || (s[0] >= u'a' && s[0] <= u'z')))
    out.error = kErrorPathNotFound;
  if (out.rootText.size() == 2) out.rootText[0] = FoldCase(out.rootText[0]);  // drives read "C:"
  out.trailingSlash = s.size() > out.rootText.size() && s.back() == u'\\';
  TextView rest = TextView(s).substr(out.rootText.size());
  out.elements.reserve(8);
  size_t pos = 0;
  while (pos <= rest.size()) {
    size_t next = rest.find(u'\\', pos);
    if (next == TextView::npos) next = rest.size();
    TextView element = rest.substr(pos, next - pos);
    pos = next + 1;
    if (literal && (element == u"." || element == u"..")) {
      out.error = kErrorInvalidName;
      return out;
    }
    if (element.empty() || element == u".") continue;
    if (element == u"..") {
      if (!out.elements.empty()) out.elements.pop_back();
      continue;
    }
    out.elements.push_back(literal ? Text(element) : StripTrailingDotsAndSpaces(element));
  }
  for (size_t i = 0; i < out.elements.size() && out.error == 0; ++i) {
    bool last = i + 1 == out.elements.size();
    if (!ValidElement(out.elements[i], allowWildcards && last)) out.error = kErrorInvalidName;
  }
  return out;
}

}  // namespace

MemoryFileSystem::MemoryFileSystem() : currentDir_(u"C:\\") {
  MakeDirectories(u"C:\\");
}
MemoryFileSystem::~MemoryFileSystem() = default;

MemoryFileSystem::Lookup MemoryFileSystem::Resolve(const Text& path, bool allowWildcards) {
  Lookup out;
  ParsedPath parsed = Parse(path, currentDir_, allowWildcards);
  out.trailingSlash = parsed.trailingSlash;
  if (parsed.error != 0) {
    out.error = parsed.error;
    return out;
  }
  auto root = roots_.find(FoldCase(parsed.rootText));
  if (root == roots_.end()) {
    out.error = kErrorPathNotFound;
    return out;
  }
  Node* dir = root->second.get();
  if (parsed.elements.empty()) {
    out.node = dir;
    out.root = true;
    return out;
  }
  for (size_t i = 0; i + 1 < parsed.elements.size(); ++i) {
    dir = FindChild(*dir, parsed.elements[i]);
    if (dir != nullptr) dir = Follow(dir, 0);  // a junction on the way leads to its target
    if (dir == nullptr || !dir->directory) {
      out.error = kErrorPathNotFound;
      return out;
    }
  }
  out.parent = dir;
  out.leaf = parsed.elements.back();
  out.node = HasWildcard(out.leaf) ? nullptr : FindChild(*dir, out.leaf);
  return out;
}

// A child by its long name or, as Windows also accepts, by its 8.3 name.
MemoryFileSystem::Node* MemoryFileSystem::FindChild(const Node& dir, const Text& name) {
  thread_local Text key;  // looked up on every step of every path: kept to spare allocations
  key.assign(name);
  for (char16_t& c : key) c = FoldCase(c);
  auto it = dir.children.find(key);
  if (it != dir.children.end()) return it->second.get();
  if (!dir.childAlternates) return nullptr;
  for (const auto& entry : dir.children) {
    const Node& child = *entry.second;
    if (!child.alternate.empty() && FoldCase(child.alternate) == key) return entry.second.get();
  }
  return nullptr;
}

Text MemoryFileSystem::FullPath(const Node& node) const {
  if (node.parent == nullptr) return node.name + u"\\";
  Text path = node.name;
  for (const Node* p = node.parent; p != nullptr; p = p->parent) path = p->name + u"\\" + path;
  return path;
}

MemoryFileSystem::Node* MemoryFileSystem::MakeDirectories(const Text& path) {
  ParsedPath parsed = Parse(path, currentDir_, false);
  if (parsed.error != 0) throw std::invalid_argument("bad path: " + ToUtf8(path));
  auto& root = roots_[FoldCase(parsed.rootText)];
  if (!root) {
    root = std::make_unique<Node>();
    root->name = parsed.rootText;
    root->directory = true;
  }
  Node* dir = root.get();
  for (const auto& element : parsed.elements) {
    Node* child = FindChild(*dir, element);
    if (child == nullptr) {
      auto made = std::make_unique<Node>();
      made->name = element;
      made->directory = true;
      made->parent = dir;
      child = made.get();
      dir->children[FoldCase(element)] = std::move(made);
    }
    if (!child->directory) throw std::invalid_argument("not a folder: " + ToUtf8(path));
    dir = child;
  }
  return dir;
}

MemoryFileSystem::Node* MemoryFileSystem::Require(const Text& path) {
  Lookup found = Resolve(path);
  if (found.node == nullptr) throw std::invalid_argument("no such entry: " + ToUtf8(path));
  return found.node;
}

// --- IFileSystem ---

uint32_t MemoryFileSystem::Attributes(const Text& path, uint32_t* error) {
  Step();
  Lookup found = Resolve(path);
  uint32_t failure = found.EntryError();
  if (failure == 0 && found.node->denied) failure = kErrorAccessDenied;
  if (error != nullptr) *error = failure;
  return failure == 0 ? found.node->Reported() : kInvalidFileAttributes;
}

uint32_t MemoryFileSystem::SetAttributes(const Text& path, uint32_t attributes) {
  Step();
  // The bits SetFileAttributesW can change; the folder bit is the entry's own.
  constexpr uint32_t kSettable = 0x1 | 0x2 | 0x4 | 0x20 | 0x100 | 0x1000 | 0x2000;
  Lookup found = Resolve(path);
  if (uint32_t failure = found.EntryError()) return failure;
  if (found.node->denied) return kErrorAccessDenied;
  found.node->attributes = attributes & kSettable;
  return 0;
}

std::optional<FoundEntry> MemoryFileSystem::FindFirst(const Text& path) {
  Step();
  // A search names an entry inside a folder: never a trailing backslash, a root or a share.
  if (path.empty() || path.back() == u'\\' || path.back() == u'/') return std::nullopt;
  Lookup found = Resolve(path, true);
  if (found.error != 0 || found.parent == nullptr) return std::nullopt;
  const Node* hit = found.node;
  if (HasWildcard(found.leaf)) {
    for (const auto& entry : found.parent->children) {
      const Node& child = *entry.second;
      if (Matches(found.leaf, child.name) ||
          (!child.alternate.empty() && Matches(found.leaf, child.alternate))) {
        hit = &child;
        break;
      }
    }
  }
  if (hit == nullptr) return std::nullopt;
  return FoundEntry{hit->Reported(), hit->name, hit->alternate};
}

uint32_t MemoryFileSystem::Move(const Text& from, const Text& to) {
  Step();
  Lookup source = Resolve(from);
  if (uint32_t failure = source.EntryError()) return failure;
  Node* node = source.node;
  if (source.root) return kErrorAccessDenied;
  if (node->denied) return kErrorAccessDenied;
  if (moveFailure_ != 0) return moveFailure_;
  if (node->moveFailure != 0) return node->moveFailure;
  if (node->held != Node::Held::None) return kErrorSharingViolation;

  Lookup target = Resolve(to);
  if (target.error != 0) return target.error;
  if (target.parent == nullptr) return target.root ? kErrorAccessDenied : kErrorPathNotFound;
  if (target.node == node) {
    // The same entry: a change of letter case renames it; its own 8.3 name changes nothing.
    if (FoldCase(target.leaf) == FoldCase(node->name)) node->name = target.leaf;
    return 0;
  }
  if (target.node != nullptr) return kErrorAlreadyExists;
  for (const Node* p = target.parent; p != nullptr; p = p->parent)
    if (p == node) return kErrorAccessDenied;  // a folder into itself

  std::unique_ptr<Node> owned = std::move(node->parent->children[FoldCase(node->name)]);
  node->parent->children.erase(FoldCase(node->name));
  owned->name = target.leaf;
  owned->alternate.clear();  // the new name gets its own 8.3 form, if any
  owned->parent = target.parent;
  target.parent->children[FoldCase(target.leaf)] = std::move(owned);
  return 0;
}

uint32_t MemoryFileSystem::Delete(const Text& path) {
  Step();
  Lookup found = Resolve(path);
  if (uint32_t failure = found.EntryError()) return failure;
  Node* node = found.node;
  if (node->directory || node->denied) return kErrorAccessDenied;
  if (deleteFailure_ != 0) return deleteFailure_;
  if (node->deleteFailure != 0) return node->deleteFailure;
  if (node->attributes & kAttrReadOnly) return kErrorAccessDenied;
  if (node->held != Node::Held::None) return kErrorSharingViolation;
  found.parent->children.erase(FoldCase(node->name));
  return 0;
}

ReadResult MemoryFileSystem::ReadWhole(const Text& path, Sharing sharing) {
  Step();
  Lookup found = Resolve(path);
  ReadResult result;
  result.error = found.EntryError();
  if (result.error == 0 && (found.node->directory || found.node->denied))
    result.error = kErrorAccessDenied;
  if (result.error == 0) {
    // Our read access clashes with an exclusive holder; a writer clashes with us unless we
    // share writing.
    Node::Held held = found.node->held;
    if (held == Node::Held::Exclusive ||
        (held == Node::Held::Writing && sharing != Sharing::ReadWrite))
      result.error = kErrorSharingViolation;
  }
  if (result.error != 0) return result;
  result.ok = true;
  result.bytes = found.node->bytes;
  return result;
}

uint32_t MemoryFileSystem::WriteWhole(const Text& path, const std::vector<uint8_t>& bytes) {
  Step();
  constexpr uint32_t kAttrSystem = 0x4;
  Lookup found = Resolve(path);
  if (found.error != 0) return found.error;
  if (found.root) return kErrorAccessDenied;
  if (found.parent == nullptr) return kErrorPathNotFound;
  if (found.trailingSlash && found.node == nullptr) return kErrorInvalidName;
  Node* node = found.node;
  if (node == nullptr) {
    auto made = std::make_unique<Node>();
    made->name = found.leaf;
    made->parent = found.parent;
    made->attributes = kAttrArchive;
    made->bytes = bytes;
    found.parent->children[FoldCase(found.leaf)] = std::move(made);
    return 0;
  }
  // Replacing needs write access: not a folder, not read-only, and CREATE_ALWAYS with normal
  // attributes refuses hidden and system files.
  if (node->directory || node->denied ||
      (node->attributes & (kAttrReadOnly | kAttrHidden | kAttrSystem)))
    return kErrorAccessDenied;
  if (found.trailingSlash) return kErrorInvalidName;
  if (node->held != Node::Held::None) return kErrorSharingViolation;
  node->bytes = bytes;
  node->attributes |= kAttrArchive;
  return 0;
}

// --- Opened entries and atomic replacement ---

// An entry held by handle: it stays the same entry whatever happens to its path.
class MemoryFileSystem::Opened : public IOpenEntry {
 public:
  Opened(MemoryFileSystem& files, Node& node) : files_(files), node_(&node) {}
  Text FinalPath() override {
    files_.Step();
    return node_ ? files_.FullPath(*node_) : Text();
  }
  uint32_t Attributes() override {
    files_.Step();
    return node_ ? node_->Reported() : kInvalidFileAttributes;
  }
  std::optional<FileIdentity> Identity() override {
    files_.Step();
    if (node_ == nullptr) return std::nullopt;
    const Node* root = node_;
    while (root->parent != nullptr) root = root->parent;
    // Each drive or share is a volume of its own.
    auto serial = static_cast<uint32_t>(std::hash<Text>{}(FoldCase(root->name)));
    return FileIdentity{serial, node_->fileId};
  }
  uint32_t Delete() override {
    files_.Step();
    if (node_ == nullptr) return kErrorFileNotFound;
    if (node_->parent == nullptr || (node_->directory && !node_->children.empty()))
      return kErrorAccessDenied;
    if (files_.deleteFailure_ != 0) return files_.deleteFailure_;
    if (node_->deleteFailure != 0) return node_->deleteFailure;
    node_->parent->children.erase(FoldCase(node_->name));
    node_ = nullptr;
    return 0;
  }

 private:
  MemoryFileSystem& files_;
  Node* node_;
};

// The entry a link leads to, through chains of links; null when it leads nowhere.
MemoryFileSystem::Node* MemoryFileSystem::Follow(Node* node, int depth) {
  if (node == nullptr || node->linkTarget.empty()) return node;
  // Windows gives up on long chains and loops too; links met while resolving the target's
  // own path count as well.
  if (depth + following_ > 31) return nullptr;
  ++following_;
  Lookup target = Resolve(node->linkTarget);
  --following_;
  if (target.error != 0) return nullptr;
  return Follow(target.node, depth + 1);
}

std::unique_ptr<IOpenEntry> MemoryFileSystem::OpenEntry(const Text& path, EntryAccess access,
                                                        uint32_t* error) {
  Step();
  Lookup found = Resolve(path);
  uint32_t failure = found.EntryError();
  Node* node = found.node;
  if (failure == 0 && access == EntryAccess::Resolve) {
    node = Follow(node, 0);
    if (node == nullptr) failure = kErrorFileNotFound;
  }
  if (failure == 0 && node->denied) failure = kErrorAccessDenied;
  if (failure == 0 && access == EntryAccess::Delete && node->held != Node::Held::None)
    failure = kErrorSharingViolation;
  if (error != nullptr) *error = failure;
  if (failure != 0) return nullptr;
  return std::make_unique<Opened>(*this, *node);
}

uint32_t MemoryFileSystem::ReplaceWhole(const Text& path, const std::vector<uint8_t>& bytes,
                                        const Text& fresh) {
  constexpr uint32_t kErrorWriteFault = 29;
  Step();
  if (tearNextReplace_) {
    tearNextReplace_ = false;
    WriteWhole(fresh, std::vector<uint8_t>(bytes.begin(), bytes.begin() + bytes.size() / 2));
    return kErrorWriteFault;
  }
  if (uint32_t failure = WriteWhole(fresh, bytes)) return failure;
  Step();  // written and flushed, not yet moved
  Lookup target = Resolve(path);
  if (target.error != 0) return target.error;
  if (Node* old = target.node) {
    if (old->directory || old->denied || (old->attributes & kAttrReadOnly))
      return kErrorAccessDenied;
    if (old->held != Node::Held::None) return kErrorSharingViolation;
    target.parent->children.erase(FoldCase(old->name));
  }
  return Move(fresh, path);
}

uint32_t MemoryFileSystem::CreateFolder(const Text& path) {
  Step();
  Lookup found = Resolve(path);
  if (found.error != 0) return found.error;
  if (found.node != nullptr) return kErrorAlreadyExists;
  if (found.parent == nullptr) return kErrorPathNotFound;
  auto made = std::make_unique<Node>();
  made->name = found.leaf;
  made->directory = true;
  made->parent = found.parent;
  found.parent->children[FoldCase(found.leaf)] = std::move(made);
  return 0;
}

std::vector<FoundEntry> MemoryFileSystem::FindAll(const Text& pattern) {
  Step();
  std::vector<FoundEntry> out;
  if (pattern.empty() || pattern.back() == u'\\' || pattern.back() == u'/') return out;
  Lookup found = Resolve(pattern, true);
  if (found.error != 0 || found.parent == nullptr) return out;
  if (!HasWildcard(found.leaf)) {
    if (found.node != nullptr)
      out.push_back(FoundEntry{found.node->Reported(), found.node->name, found.node->alternate});
    return out;
  }
  for (const auto& entry : found.parent->children) {
    const Node& child = *entry.second;
    if (Matches(found.leaf, child.name) ||
        (!child.alternate.empty() && Matches(found.leaf, child.alternate)))
      out.push_back(FoundEntry{child.Reported(), child.name, child.alternate});
  }
  return out;
}

class MemoryFileSystem::HeldLock : public IFileLock {
 public:
  HeldLock(MemoryFileSystem& files, Text key) : files_(files), key_(std::move(key)) {}
  ~HeldLock() override { files_.locked_.erase(key_); }

 private:
  MemoryFileSystem& files_;
  Text key_;
};

std::unique_ptr<IFileLock> MemoryFileSystem::Lock(const Text& path, uint32_t, uint32_t* error) {
  Step();
  uint32_t failure = 0;
  Lookup found = Resolve(path);
  if (found.error == 0 && found.node == nullptr) {
    // Nobody else acts while this one waits, so waiting would change nothing.
    bool stepping = stepping_;
    stepping_ = true;  // the file's making is part of this step
    failure = WriteWhole(path, {});
    stepping_ = stepping;
    found = Resolve(path);
  }
  if (failure == 0) failure = found.EntryError();
  if (failure == 0 && (found.node->directory || found.node->denied)) failure = kErrorAccessDenied;
  Text key = failure == 0 ? FoldCase(FullPath(*found.node)) : Text();
  if (failure == 0 && (locked_.count(key) != 0 || found.node->held != Node::Held::None))
    failure = kErrorSharingViolation;
  if (error != nullptr) *error = failure;
  if (failure != 0) return nullptr;
  locked_.insert(key);
  return std::make_unique<HeldLock>(*this, key);
}

void MemoryFileSystem::BeforeEachStep(std::function<void()> step) {
  beforeEachStep_ = std::move(step);
}

void MemoryFileSystem::Step() {
  if (!beforeEachStep_ || stepping_) return;
  stepping_ = true;
  // The step may replace or end itself.
  std::function<void()> step = beforeEachStep_;
  step();
  stepping_ = false;
}

// --- Setup ---

void MemoryFileSystem::AddDirectory(const Text& path) {
  MakeDirectories(path);
}

void MemoryFileSystem::AddFile(const Text& path, const std::vector<uint8_t>& bytes,
                               uint32_t attributes) {
  Text full = Normalised(path);
  size_t cut = full.find_last_of(u'\\');
  Node* dir = MakeDirectories(cut == Text::npos ? currentDir_ : full.substr(0, cut + 1));
  Text name = cut == Text::npos ? full : full.substr(cut + 1);
  if (name.empty() || !ValidElement(name, false))
    throw std::invalid_argument("bad file name: " + ToUtf8(path));
  Node* existing = FindChild(*dir, name);
  if (existing != nullptr && existing->directory)
    throw std::invalid_argument("a folder has that name: " + ToUtf8(path));
  if (existing == nullptr) {
    auto made = std::make_unique<Node>();
    made->name = name;
    made->parent = dir;
    existing = made.get();
    dir->children[FoldCase(name)] = std::move(made);
  }
  existing->bytes = bytes;
  existing->attributes = attributes & ~kAttrDirectory;
}

void MemoryFileSystem::AddFile(const Text& path, std::string_view bytes, uint32_t attributes) {
  AddFile(path, std::vector<uint8_t>(bytes.begin(), bytes.end()), attributes);
}

void MemoryFileSystem::SetAlternateName(const Text& path, const Text& shortName) {
  Node* node = Require(path);
  node->alternate = shortName;
  if (node->parent != nullptr && !shortName.empty()) node->parent->childAlternates = true;
}

void MemoryFileSystem::AddLink(const Text& path, const Text& target, bool folder) {
  Text full = Normalised(path);
  size_t cut = full.find_last_of(u'\\');
  if (cut == Text::npos) throw std::invalid_argument("not a full path: " + ToUtf8(path));
  Node* dir = MakeDirectories(full.substr(0, cut + 1));
  Text name = full.substr(cut + 1);
  if (name.empty() || FindChild(*dir, name) != nullptr)
    throw std::invalid_argument("bad or taken link name: " + ToUtf8(path));
  auto made = std::make_unique<Node>();
  made->name = name;
  made->parent = dir;
  made->directory = folder;
  made->linkTarget = target;
  dir->children[FoldCase(name)] = std::move(made);
}

void MemoryFileSystem::TearNextReplace() {
  tearNextReplace_ = true;
}

void MemoryFileSystem::Lock(const Text& path) {
  Require(path)->held = Node::Held::Exclusive;
}
void MemoryFileSystem::LockForWriting(const Text& path) {
  Require(path)->held = Node::Held::Writing;
}
void MemoryFileSystem::Unlock(const Text& path) {
  Require(path)->held = Node::Held::None;
}
void MemoryFileSystem::DenyAccess(const Text& path) {
  Require(path)->denied = true;
}
void MemoryFileSystem::FailMoves(uint32_t error) {
  moveFailure_ = error;
}
void MemoryFileSystem::FailDeletes(uint32_t error) {
  deleteFailure_ = error;
}
void MemoryFileSystem::FailMoveOf(const Text& path, uint32_t error) {
  Require(path)->moveFailure = error;
}
void MemoryFileSystem::FailDeleteOf(const Text& path, uint32_t error) {
  Require(path)->deleteFailure = error;
}

Text MemoryFileSystem::FullPathName(const Text& path) {
  // Like GetFullPathNameW, only the text is worked on: the entries need not exist.
  ParsedPath parsed = Parse(path, currentDir_, true);
  if (path.empty() || parsed.rootText.empty()) return path;
  Text full = parsed.rootText;
  for (const auto& element : parsed.elements) full += u"\\" + element;
  if (parsed.elements.empty() || parsed.trailingSlash) full += u'\\';
  return full;
}

bool MemoryFileSystem::SetCurrentDir(const Text& path) {
  Lookup found = Resolve(path);
  if (found.error != 0 || found.node == nullptr || !found.node->directory) return false;
  currentDir_ = FullPath(*found.node);
  return true;
}

Text MemoryFileSystem::CurrentDir() const {
  return currentDir_;
}

// --- Inspection ---

bool MemoryFileSystem::Exists(const Text& path) {
  Lookup found = Resolve(path);
  return found.error == 0 && found.node != nullptr;
}

bool MemoryFileSystem::IsDirectory(const Text& path) {
  Lookup found = Resolve(path);
  return found.error == 0 && found.node != nullptr && found.node->directory;
}

std::vector<uint8_t> MemoryFileSystem::Content(const Text& path) {
  return Require(path)->bytes;
}

std::string MemoryFileSystem::ContentString(const Text& path) {
  const auto& bytes = Require(path)->bytes;
  return std::string(bytes.begin(), bytes.end());
}

uint32_t MemoryFileSystem::AttributesOf(const Text& path) {
  Lookup found = Resolve(path);
  return found.error == 0 && found.node != nullptr ? found.node->Reported()
                                                   : kInvalidFileAttributes;
}

void MemoryFileSystem::Collect(const Node& node, std::vector<Text>& out) const {
  for (const auto& entry : node.children) {
    if (entry.second->directory)
      Collect(*entry.second, out);
    else
      out.push_back(FullPath(*entry.second));
  }
}

std::vector<Text> MemoryFileSystem::Files() const {
  std::vector<Text> out;
  for (const auto& root : roots_) Collect(*root.second, out);
  return out;
}

}  // namespace velmora::platform
