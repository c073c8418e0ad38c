#include "app/win32/helper/ServerProcess.h"

#include "app/win32/helper/ClassFactory.h"
#include "app/win32/helper/HelperGuids.h"
#include "app/win32/helper/ModulePath.h"

namespace velmora::helper {

namespace {

// How long a server started by COM waits for its client before it gives up.
constexpr UINT kActivationWaitMs = 30'000;
// How long the process stays once nothing holds it. A client hands files over one object at a
// time (Velmora: one per side); the next request then finds it still serving, where a process
// already on its way out would fail the activation (Wine does not suspend class objects).
constexpr UINT kLingerMs = 3'000;

uint64_t Now() {
  return GetTickCount64();
}

}  // namespace

ServerProcess::ServerProcess(DeferredDeletion& work) : work_(work) {
  ITypeLib* library = nullptr;
  if (SUCCEEDED(LoadTypeLibEx(ModulePath().c_str(), REGKIND_NONE, &library))) {
    library->GetTypeInfoOfGuid(IID_IVelmora, &typeInfo_);
    library->Release();
  }
}

ServerProcess::~ServerProcess() {
  if (typeInfo_) typeInfo_->Release();
}

void ServerProcess::AddRef() {
  Hold();
  // The client that started this process has arrived: its own reference now keeps it.
  if (awaitingClient_) {
    awaitingClient_ = false;
    Drop();
  }
}

void ServerProcess::Release() {
  Drop();
}

void ServerProcess::Hold() {
  ++holds_;
  if (lingerTimer_) KillTimer(nullptr, lingerTimer_);
  lingerTimer_ = 0;
}

void ServerProcess::Drop() {
  if (--holds_ == 0) lingerTimer_ = SetTimer(nullptr, 0, kLingerMs, nullptr);
}

void ServerProcess::HoldForWork() {
  if (holdsForWork_) return;
  holdsForWork_ = true;
  Hold();
}

Verdict ServerProcess::Accept(const Text& path) {
  Verdict verdict = work_.Accept(path, Now());
  if (verdict.kind == Verdict::Kind::Accepted) {
    HoldForWork();
    Arm(Now());
  }
  return verdict;
}

void ServerProcess::Arm(std::optional<uint64_t> due) {
  if (workTimer_) KillTimer(nullptr, workTimer_);
  workTimer_ = 0;
  if (!due) return;
  uint64_t now = Now();
  uint64_t wait = *due > now ? *due - now : 0;
  workTimer_ = SetTimer(nullptr, 0, static_cast<UINT>(wait), nullptr);
}

void ServerProcess::Work() {
  std::optional<uint64_t> next = work_.Work(Now());
  Arm(next);
  if (!next && holdsForWork_) {
    holdsForWork_ = false;
    Drop();
  }
}

int ServerProcess::Run(bool activated) {
  // Started by COM, the process waits for its client even when the pending files are done
  // before the client's request arrives.
  if (activated) {
    awaitingClient_ = true;
    Hold();
  }
  work_.Resume(Now());
  if (!work_.Idle()) {
    HoldForWork();
    Arm(Now());
  } else if (!activated) {
    return 0;  // nothing left from earlier runs and no client to wait for
  }

  ClassFactory factory(*this);
  DWORD cookie = 0;
  HRESULT hr = CoRegisterClassObject(CLSID_CoVelmora, &factory, CLSCTX_LOCAL_SERVER,
                                     REGCLS_MULTIPLEUSE | REGCLS_SUSPENDED, &cookie);
  if (SUCCEEDED(hr)) hr = CoResumeClassObjects();
  if (FAILED(hr) && work_.Idle()) return 1;
  if (activated) idleTimer_ = SetTimer(nullptr, 0, kActivationWaitMs, nullptr);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_TIMER && msg.hwnd == nullptr) {
      if (msg.wParam == workTimer_) {
        Work();
        continue;
      }
      if (msg.wParam == lingerTimer_) {
        KillTimer(nullptr, lingerTimer_);
        lingerTimer_ = 0;
        if (holds_ == 0) break;
        continue;
      }
      if (msg.wParam == idleTimer_) {
        KillTimer(nullptr, idleTimer_);
        idleTimer_ = 0;
        // The client never came: stop waiting for it.
        if (awaitingClient_) {
          awaitingClient_ = false;
          Drop();
        }
        continue;
      }
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  // New activations go to a new process from here on.
  CoSuspendClassObjects();
  if (cookie) CoRevokeClassObject(cookie);
  return 0;
}

}  // namespace velmora::helper
