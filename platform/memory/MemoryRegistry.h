// An in-memory registry with the Windows registry's semantics: hives and keys with
// case-insensitive names, typed values, keys that cannot be opened or created, refused writes.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <vector>

#include "platform/Registry.h"

namespace velmora::platform {

class MemoryRegistry : public IRegistry {
 public:
  MemoryRegistry();
  ~MemoryRegistry() override;

  std::unique_ptr<IRegistryKey> Open(Hive hive, const Text& path, uint32_t access,
                                     RegistryView view) override;
  std::unique_ptr<IRegistryKey> Create(Hive hive, const Text& path, uint32_t access,
                                       RegistryView view) override;

  // Test setup. The registry is a 64-bit program's: the machine-wide hive's 64-bit view is its
  // native one, its 32-bit view a tree of its own; the per-user hive and HKEY_CLASSES_ROOT look
  // the same in every view.
  void SetValue(Hive hive, const Text& path, const Text& name, uint32_t type,
                std::vector<uint8_t> data, RegistryView view = RegistryView::Native);
  void SetString(Hive hive, const Text& path, const Text& name, const Text& value,
                 uint32_t type = kRegSz, RegistryView view = RegistryView::Native);
  void SetDword(Hive hive, const Text& path, const Text& name, uint32_t value,
                RegistryView view = RegistryView::Native);
  void AddKey(Hive hive, const Text& path, RegistryView view = RegistryView::Native);
  void DeleteKey(Hive hive, const Text& path, RegistryView view = RegistryView::Native);
  // The key exists but opening it fails (access denied).
  void DenyOpen(Hive hive, const Text& path);
  // Creating this key (or any key below it) fails.
  void DenyCreate(Hive hive, const Text& path);
  // Writing this value fails with access denied.
  void RefuseWrite(Hive hive, const Text& path, const Text& name);

  // Inspection.
  bool KeyExists(Hive hive, const Text& path, RegistryView view = RegistryView::Native) const;
  struct Value {
    uint32_t type = kRegNone;
    std::vector<uint8_t> data;
  };
  const Value* Find(Hive hive, const Text& path, const Text& name,
                    RegistryView view = RegistryView::Native) const;
  // Every open and create, in order, as "HKCU\path (access)".
  const std::vector<Text>& Accesses() const { return accesses_; }
  int OpenKeyCount() const { return *openKeys_; }

  struct Node;

 private:
  Node* Resolve(Hive hive, const Text& path, RegistryView view, bool create);
  const Node* Resolve(Hive hive, const Text& path, RegistryView view) const;
  Node& Root(Hive hive, RegistryView view);

  std::unique_ptr<Node> currentUser_, localMachine_, localMachine32_, classesRoot_;
  std::set<Text> deniedOpen_, deniedCreate_, refusedWrites_;
  std::vector<Text> accesses_;
  std::shared_ptr<int> openKeys_;
};

}  // namespace velmora::platform
