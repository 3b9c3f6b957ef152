#pragma once
#include <curl/curl.h>

#include <memory>

// Owners of libcurl objects: each is released when its owner goes, whatever happened in between.
struct CurlEasyCleanup {
    void operator()(CURL *handle) const { curl_easy_cleanup(handle); }
};
struct CurlSlistCleanup {
    void operator()(curl_slist *list) const { curl_slist_free_all(list); }
};
struct CurlShareCleanup {
    void operator()(CURLSH *share) const { curl_share_cleanup(share); }
};
struct CurlMimeCleanup {
    void operator()(curl_mime *mime) const { curl_mime_free(mime); }
};

using CurlEasy = std::unique_ptr<CURL, CurlEasyCleanup>;
using CurlHeaderList = std::unique_ptr<curl_slist, CurlSlistCleanup>;
using CurlMime = std::unique_ptr<curl_mime, CurlMimeCleanup>;
using CurlShare = std::unique_ptr<CURLSH, CurlShareCleanup>;

// A fresh easy handle; libcurl's global state is set up once, on first use.
CurlEasy newCurlHandle();
