// Owning pointers for libcurl's handles, so every exit path releases them, and the small
// helpers every transfer's set-up uses.
#pragma once

#include <curl/curl.h>

#include <memory>
#include <string>
#include <vector>

namespace vardelle {

struct CurlEasyCloser {
  void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct CurlMultiCloser {
  void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};
struct CurlListCloser {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
struct CurlUrlCloser {
  void operator()(CURLU* url) const { curl_url_cleanup(url); }
};
using EasyPtr = std::unique_ptr<CURL, CurlEasyCloser>;
using MultiPtr = std::unique_ptr<CURLM, CurlMultiCloser>;
using ListPtr = std::unique_ptr<curl_slist, CurlListCloser>;
using UrlPtr = std::unique_ptr<CURLU, CurlUrlCloser>;

// The lines as a libcurl header list; nullptr when memory ran out.
ListPtr CurlHeaderList(const std::vector<std::string>& lines);

// Sets options one after the other and remembers whether every one was taken.
class CurlOptionSetter {
 public:
  explicit CurlOptionSetter(CURL* easy) : easy_(easy) {}
  template <typename Value>
  void operator()(CURLoption option, Value value) {
    ok_ = ok_ && curl_easy_setopt(easy_, option, value) == CURLE_OK;
  }
  bool Ok() const { return ok_; }

 private:
  CURL* easy_;
  bool ok_ = true;
};

}  // namespace vardelle
