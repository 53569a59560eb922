// The process's one libcurl root: the library's global state and a share handle that lets
// transfers reuse resolved names and TLS sessions. Opened on first use, tried again after a
// failed open, closed at program end unless a transfer is still running then.
#pragma once

#include <curl/curl.h>

namespace vardelle {

// Holds the root open for one transfer.
class CurlRootLease {
 public:
  CurlRootLease();
  ~CurlRootLease();
  CurlRootLease(const CurlRootLease&) = delete;
  CurlRootLease& operator=(const CurlRootLease&) = delete;

  // False when the root could not be opened (or the program is ending): make no transfer.
  explicit operator bool() const { return share_ != nullptr; }
  CURLSH* Share() const { return share_; }

 private:
  CURLSH* share_;
};

}  // namespace vardelle
