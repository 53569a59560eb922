#include "runtime/linux/curl_root.h"

#include <array>
#include <mutex>

#include "runtime/platform.h"

namespace vardelle {
namespace {

class CurlRoot {
 public:
  // Opens the root when it is not open yet; nullptr when that fails or after Close.
  CURLSH* Acquire() {
    std::lock_guard guard(mutex_);
    if (closed_) return nullptr;
    if (share_ == nullptr) Open();
    if (share_ != nullptr) ++users_;
    return share_;
  }

  void Release() {
    std::lock_guard guard(mutex_);
    --users_;
  }

  // At program end. A detached thread may still be inside a transfer; the root then stays
  // open, as the process is going away anyway.
  void Close() {
    std::lock_guard guard(mutex_);
    closed_ = true;
    if (share_ == nullptr || users_ > 0) return;
    curl_share_cleanup(share_);
    curl_global_cleanup();
    share_ = nullptr;
  }

 private:
  void Open() {
    if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) return;
    CURLSH* share = curl_share_init();
    if (share == nullptr || !Configure(share)) {
      curl_share_cleanup(share);
      curl_global_cleanup();
      return;
    }
    share_ = share;
  }

  bool Configure(CURLSH* share) {
    return curl_share_setopt(share, CURLSHOPT_LOCKFUNC, LockShared) == CURLSHE_OK &&
           curl_share_setopt(share, CURLSHOPT_UNLOCKFUNC, UnlockShared) == CURLSHE_OK &&
           curl_share_setopt(share, CURLSHOPT_USERDATA, this) == CURLSHE_OK &&
           curl_share_setopt(share, CURLSHOPT_SHARE, CURL_LOCK_DATA_DNS) == CURLSHE_OK &&
           curl_share_setopt(share, CURLSHOPT_SHARE, CURL_LOCK_DATA_SSL_SESSION) == CURLSHE_OK;
  }

  static void LockShared(CURL*, curl_lock_data data, curl_lock_access, void* root) {
    static_cast<CurlRoot*>(root)->SharedMutex(data).lock();
  }
  static void UnlockShared(CURL*, curl_lock_data data, void* root) {
    static_cast<CurlRoot*>(root)->SharedMutex(data).unlock();
  }
  std::mutex& SharedMutex(curl_lock_data data) {
    return sharedMutexes_[static_cast<std::size_t>(data) % sharedMutexes_.size()];
  }

  std::mutex mutex_;
  CURLSH* share_ = nullptr;
  int users_ = 0;
  bool closed_ = false;
  std::array<std::mutex, CURL_LOCK_DATA_LAST> sharedMutexes_;
};

// Never destroyed, so that a thread still transferring at exit never meets a dead mutex.
CurlRoot& Root() {
  static auto* const root = new CurlRoot;
  return *root;
}

struct RootCloser {
  ~RootCloser() { Root().Close(); }
};
const RootCloser closer;

}  // namespace

CurlRootLease::CurlRootLease() : share_(Root().Acquire()) {}

CurlRootLease::~CurlRootLease() {
  if (share_ != nullptr) Root().Release();
}

// Here, with curl's other global state, rather than in platform.cpp: a program that fetches
// no page (vardelle-ping, which holds a capability) then links no libcurl, nor the TLS
// libraries whose start-up code reads environment variables.
void InitializeRuntimePlatform() {
  // libcurl's global set-up must not race with another thread's first transfer. The root
  // opened on first use takes its own reference, which this one keeps from being the first.
  static std::once_flag initialized;
  std::call_once(initialized, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

}  // namespace vardelle
