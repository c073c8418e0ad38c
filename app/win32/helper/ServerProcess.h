// The server process: its lifetime (it ends when no client holds it and nothing is pending),
// the timer that drives the deferred deletions, and the message loop.
#pragma once

#include <windows.h>

#include <oaidl.h>

#include <cstdint>
#include <optional>

#include "helper/DeferredDeletion.h"

namespace velmora::helper {

class ServerProcess {
 public:
  explicit ServerProcess(DeferredDeletion& work);
  ~ServerProcess();
  ServerProcess(const ServerProcess&) = delete;
  ServerProcess& operator=(const ServerProcess&) = delete;

  // One object or server lock more or less; the last release ends the loop.
  void AddRef();
  void Release();
  // Judges and, when accepted, takes over the file; its first attempt follows right after the
  // call has returned.
  Verdict Accept(const Text& path);
  // IVelmora's type information for IDispatch; null when the type library cannot be loaded.
  ITypeInfo* TypeInfo() const { return typeInfo_; }

  // Serves COM and works through the pending files until both are done. `activated`: started
  // by COM for a client (-Embedding), which then connects soon.
  int Run(bool activated);

 private:
  void Work();
  void Arm(std::optional<uint64_t> due);
  // The process stays while anything holds it: objects, server locks, pending work and the
  // wait for the client that started it. Shortly after the last drop the message loop ends.
  void Hold();
  void Drop();
  void HoldForWork();

  DeferredDeletion& work_;
  ITypeInfo* typeInfo_ = nullptr;
  bool holdsForWork_ = false;
  bool awaitingClient_ = false;  // started by COM, and its client has not arrived yet
  long holds_ = 0;
  UINT_PTR lingerTimer_ = 0;
  UINT_PTR workTimer_ = 0;
  UINT_PTR idleTimer_ = 0;
};

}  // namespace velmora::helper
