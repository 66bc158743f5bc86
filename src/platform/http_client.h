// The program's HTTP client: synchronous GETs over libcurl through one process-wide client
// whose in-memory cookie store serves every request of the run. libcurl's API stays
// behind this header.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

namespace quorvane {

// One GET and the bounds it runs under.
struct HttpGetRequest {
  // An absolute http or https URL, taken up to its first NUL.
  std::string_view link;
  std::string_view userAgent;
  // The value of the request's single Accept line.
  std::string_view accept;
  // For name resolution, the TCP connection and the TLS handshake, per connection.
  std::chrono::milliseconds connectTimeout;
  // Once the request is sent, the transfer is abandoned when no byte has arrived for this
  // long. Checked about once a second, so it ends up to a second late.
  std::chrono::milliseconds stallTimeout;
  // Reading stops after this many body bytes.
  std::size_t maxBodyBytes;
};

// Sends one HTTP/1.0 GET for `request.link` and returns the body of the final response,
// whatever its status, exactly as received (no decoding of any kind).
//
// The link is made canonical without escaping: "." and ".." segments are resolved and
// nothing is percent-encoded or decoded, except that a raw space or control byte (00-1F,
// 7F) in the path or query is sent as %XX, since a request line cannot carry it. Nothing
// is sent for a link without a scheme, with a scheme other than http or https, or with
// such a byte before the path. The fragment is never sent. A user name and password in the
// link are sent to that host only.
//
// The request carries the Host line, the user agent, one Accept line and, when the link
// holds them, credentials and the cookies the run has collected; keep-alive is not asked
// for, and the connection is closed when the fetch ends. Up to 20 redirects are followed,
// to http and https only. TLS certificates are verified against the system's store.
// Proxies come from http_proxy, https_proxy and no_proxy; without them the connection is
// direct.
//
// Empty when nothing was sent or no response arrived (name, connection, TLS failure,
// connect time-out, too many redirects). A transfer that breaks off, stalls or reaches
// maxBodyBytes keeps exactly the bytes that arrived, at most maxBodyBytes.
// Not thread-safe: the program fetches from one thread.
std::string httpGet(const HttpGetRequest& request);

}  // namespace quorvane
