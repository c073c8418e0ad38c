#include "platform/memory/MemoryRegistry.h"

#include "platform/ErrorCodes.h"

namespace velmora::platform {

namespace {

struct NoCaseLess {
  bool operator()(const Text& a, const Text& b) const { return UpperAscii(a) < UpperAscii(b); }
};

std::vector<Text> SplitKeyPath(const Text& path) {
  std::vector<Text> parts;
  Text part;
  for (char16_t c : path) {
    if (c == u'\\') {
      if (!part.empty()) parts.push_back(part);
      part.clear();
    } else {
      part += c;
    }
  }
  if (!part.empty()) parts.push_back(part);
  return parts;
}

Text HiveName(Hive hive) {
  switch (hive) {
    case Hive::CurrentUser:
      return u"HKCU";
    case Hive::LocalMachine:
      return u"HKLM";
    case Hive::ClassesRoot:
      return u"HKCR";
  }
  return u"?";
}

Text Canonical(Hive hive, const Text& path) {
  Text out = HiveName(hive);
  for (const auto& part : SplitKeyPath(path)) out += u"\\" + UpperAscii(part);
  return out;
}

}  // namespace

struct MemoryRegistry::Node {
  std::map<Text, std::unique_ptr<Node>, NoCaseLess> children;
  std::map<Text, Value, NoCaseLess> values;
};

namespace {

class MemoryKey : public IRegistryKey {
 public:
  MemoryKey(MemoryRegistry::Node* node, bool writable, Text canonical,
            const std::set<Text>* refused, std::shared_ptr<int> openKeys)
      : node_(node),
        writable_(writable),
        canonical_(std::move(canonical)),
        refused_(refused),
        openKeys_(std::move(openKeys)) {
    ++*openKeys_;
  }
  ~MemoryKey() override { --*openKeys_; }

  RegistryQuery Query(const Text& name, uint32_t maxBytes) override {
    RegistryQuery q;
    auto it = node_->values.find(name);
    if (it == node_->values.end()) return q;
    q.type = it->second.type;
    q.size = static_cast<uint32_t>(it->second.data.size());
    if (q.size > maxBytes) {
      q.status = RegistryQuery::Status::MoreData;
      return q;
    }
    q.status = RegistryQuery::Status::Ok;
    q.data = it->second.data;
    return q;
  }

  uint32_t Set(const Text& name, uint32_t type, const std::vector<uint8_t>& data) override {
    if (!writable_) return kErrorAccessDenied;
    if (refused_->count(canonical_ + u"|" + UpperAscii(name))) return kErrorAccessDenied;
    node_->values[name] = {type, data};
    return kErrorSuccess;
  }

 private:
  MemoryRegistry::Node* node_;
  bool writable_;
  Text canonical_;
  const std::set<Text>* refused_;
  std::shared_ptr<int> openKeys_;
};

bool Writable(uint32_t access) {
  return (access & 0x6) != 0;
}  // KEY_SET_VALUE | KEY_CREATE_SUB_KEY

}  // namespace

MemoryRegistry::MemoryRegistry()
    : currentUser_(std::make_unique<Node>()),
      localMachine_(std::make_unique<Node>()),
      localMachine32_(std::make_unique<Node>()),
      classesRoot_(std::make_unique<Node>()),
      openKeys_(std::make_shared<int>(0)) {}

MemoryRegistry::~MemoryRegistry() = default;

MemoryRegistry::Node& MemoryRegistry::Root(Hive hive, RegistryView view) {
  switch (hive) {
    case Hive::CurrentUser:
      return *currentUser_;
    case Hive::ClassesRoot:
      return *classesRoot_;
    case Hive::LocalMachine:
      break;
  }
  return view == RegistryView::Wow32 ? *localMachine32_ : *localMachine_;
}

MemoryRegistry::Node* MemoryRegistry::Resolve(Hive hive, const Text& path, RegistryView view,
                                              bool create) {
  Node* node = &Root(hive, view);
  for (const auto& part : SplitKeyPath(path)) {
    auto it = node->children.find(part);
    if (it == node->children.end()) {
      if (!create) return nullptr;
      it = node->children.emplace(part, std::make_unique<Node>()).first;
    }
    node = it->second.get();
  }
  return node;
}

const MemoryRegistry::Node* MemoryRegistry::Resolve(Hive hive, const Text& path,
                                                    RegistryView view) const {
  return const_cast<MemoryRegistry*>(this)->Resolve(hive, path, view, false);
}

std::unique_ptr<IRegistryKey> MemoryRegistry::Open(Hive hive, const Text& path, uint32_t access,
                                                   RegistryView view) {
  Text record = u"open ";
  record.append(HiveName(hive)).append(u"\\").append(path);
  if (view == RegistryView::Wow32) record.append(u" (32)");
  if (view == RegistryView::Wow64) record.append(u" (64)");
  accesses_.push_back(std::move(record));
  if (deniedOpen_.count(Canonical(hive, path))) return nullptr;
  Node* node = Resolve(hive, path, view, false);
  if (!node) return nullptr;
  return std::make_unique<MemoryKey>(node, Writable(access), Canonical(hive, path), &refusedWrites_,
                                     openKeys_);
}

std::unique_ptr<IRegistryKey> MemoryRegistry::Create(Hive hive, const Text& path, uint32_t access,
                                                     RegistryView view) {
  Text record = u"create ";
  record.append(HiveName(hive)).append(u"\\").append(path);
  accesses_.push_back(std::move(record));
  Text canonical = Canonical(hive, path);
  if (deniedOpen_.count(canonical)) return nullptr;
  if (!Resolve(hive, path, view, false)) {
    for (const auto& denied : deniedCreate_) {
      if (StartsWith(canonical + u"\\", denied + u"\\")) return nullptr;
    }
  }
  Node* node = Resolve(hive, path, view, true);
  return std::make_unique<MemoryKey>(node, Writable(access), canonical, &refusedWrites_, openKeys_);
}

void MemoryRegistry::SetValue(Hive hive, const Text& path, const Text& name, uint32_t type,
                              std::vector<uint8_t> data, RegistryView view) {
  Resolve(hive, path, view, true)->values[name] = {type, std::move(data)};
}

void MemoryRegistry::SetString(Hive hive, const Text& path, const Text& name, const Text& value,
                               uint32_t type, RegistryView view) {
  std::vector<uint8_t> data;
  for (char16_t c : value + u'\0') {
    data.push_back(static_cast<uint8_t>(c & 0xFF));
    data.push_back(static_cast<uint8_t>(c >> 8));
  }
  SetValue(hive, path, name, type, std::move(data), view);
}

void MemoryRegistry::SetDword(Hive hive, const Text& path, const Text& name, uint32_t value,
                              RegistryView view) {
  SetValue(hive, path, name, kRegDword,
           {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
            static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)},
           view);
}

void MemoryRegistry::AddKey(Hive hive, const Text& path, RegistryView view) {
  Resolve(hive, path, view, true);
}

void MemoryRegistry::DeleteKey(Hive hive, const Text& path, RegistryView view) {
  auto parts = SplitKeyPath(path);
  if (parts.empty()) return;
  Node* node = &Root(hive, view);
  for (size_t i = 0; i + 1 < parts.size(); ++i) {
    auto it = node->children.find(parts[i]);
    if (it == node->children.end()) return;
    node = it->second.get();
  }
  node->children.erase(parts.back());
}

void MemoryRegistry::DenyOpen(Hive hive, const Text& path) {
  deniedOpen_.insert(Canonical(hive, path));
}

void MemoryRegistry::DenyCreate(Hive hive, const Text& path) {
  deniedCreate_.insert(Canonical(hive, path));
}

void MemoryRegistry::RefuseWrite(Hive hive, const Text& path, const Text& name) {
  refusedWrites_.insert(Canonical(hive, path) + u"|" + UpperAscii(name));
}

bool MemoryRegistry::KeyExists(Hive hive, const Text& path, RegistryView view) const {
  return Resolve(hive, path, view) != nullptr;
}

const MemoryRegistry::Value* MemoryRegistry::Find(Hive hive, const Text& path, const Text& name,
                                                  RegistryView view) const {
  const Node* node = Resolve(hive, path, view);
  if (!node) return nullptr;
  auto it = node->values.find(name);
  return it == node->values.end() ? nullptr : &it->second;
}

}  // namespace velmora::platform
