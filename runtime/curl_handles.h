// Owning pointers for libcurl's handles, so every exit path releases them.
#pragma once

#include <curl/curl.h>

#include <memory>

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

}  // namespace vardelle
