#include "resolve/page_fetch.h"

#include <utility>

#include "platform/http_client.h"

namespace quorvane {
namespace {

constexpr std::string_view kUserAgent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
constexpr std::string_view kAccept = "*/*";

}  // namespace

std::string httpGetBody(std::string_view link, const FetchLimits& limits) {
  if (link.empty())
    return {};
  return httpGet(HttpGetRequest{
      .link = link,
      .userAgent = kUserAgent,
      .accept = kAccept,
      .connectTimeout = limits.connectTimeout,
      .stallTimeout = limits.stallTimeout,
      .maxBodyBytes = limits.maxBodyBytes,
  });
}

Text fetchPageText(std::string_view link, const FetchLimits& limits) {
  // The body is moved in and cut in place: a page is never held twice.
  return textFromBytes(httpGetBody(link, limits));
}

}  // namespace quorvane
