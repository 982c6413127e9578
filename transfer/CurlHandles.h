#pragma once

#include <curl/curl.h>

#include <memory>

namespace transfer {

struct CurlEasyCleanup {
    void operator()(CURL *handle) const { curl_easy_cleanup(handle); }
};
using CurlEasy = std::unique_ptr<CURL, CurlEasyCleanup>;

struct CurlListFree {
    void operator()(curl_slist *list) const { curl_slist_free_all(list); }
};
using CurlList = std::unique_ptr<curl_slist, CurlListFree>;

// curl_global_init for the length of one exported call.
class CurlGlobal {
public:
    CurlGlobal() : ok_(curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK) {}
    ~CurlGlobal()
    {
        if (ok_)
            curl_global_cleanup();
    }
    CurlGlobal(const CurlGlobal &) = delete;
    CurlGlobal &operator=(const CurlGlobal &) = delete;
    bool ok() const { return ok_; }

private:
    bool ok_;
};

} // namespace transfer
