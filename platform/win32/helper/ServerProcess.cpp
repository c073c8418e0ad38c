#include "platform/win32/helper/ServerProcess.h"

#include "platform/win32/helper/ClassFactory.h"
#include "platform/win32/helper/HelperGuids.h"
#include "platform/win32/helper/ModulePath.h"

namespace velmora::helper {

namespace {

// How long a server started by COM waits for its client before it gives up.
constexpr UINT kActivationWaitMs = 30'000;

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
  ++refs_;
  CoAddRefServerProcess();
}

void ServerProcess::Release() {
  --refs_;
  if (CoReleaseServerProcess() == 0) PostQuitMessage(0);
}

void ServerProcess::HoldForWork() {
  if (holdsForWork_) return;
  holdsForWork_ = true;
  AddRef();
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
    Release();
  }
}

int ServerProcess::Run(bool activated) {
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
      if (msg.wParam == idleTimer_) {
        KillTimer(nullptr, idleTimer_);
        idleTimer_ = 0;
        // No client ever came (or all have gone) and nothing is pending.
        if (refs_ == 0) break;
        continue;
      }
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (cookie) CoRevokeClassObject(cookie);
  return 0;
}

}  // namespace velmora::helper
