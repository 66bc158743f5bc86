#include "platform/http_client.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <memory>

namespace quorvane {
namespace {

// A redirect loop must end: libcurl's own default follows for ever.
constexpr int kMaxRedirects = 20;

struct EasyDeleter {
  void operator()(CURL* h) const { curl_easy_cleanup(h); }
};
struct UrlDeleter {
  void operator()(CURLU* h) const { curl_url_cleanup(h); }
};
struct SlistDeleter {
  void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};
struct CurlStringDeleter {
  void operator()(char* s) const { curl_free(s); }
};
using Easy = std::unique_ptr<CURL, EasyDeleter>;
using Url = std::unique_ptr<CURLU, UrlDeleter>;
using Slist = std::unique_ptr<curl_slist, SlistDeleter>;
using CurlString = std::unique_ptr<char, CurlStringDeleter>;

// libcurl initialised for the process, and the share handle that holds the cookies of the
// run. Lives from the first fetch until exit.
class Client {
 public:
  static std::unique_ptr<Client> make() {
    if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK)
      return nullptr;
    std::unique_ptr<Client> client(new Client);
    client->share_ = curl_share_init();
    if (client->share_ == nullptr ||
        curl_share_setopt(client->share_, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE) != CURLSHE_OK) {
      return nullptr;
    }
    return client;
  }
  ~Client() {
    if (share_ != nullptr)
      curl_share_cleanup(share_);
    curl_global_cleanup();
  }
  Client(const Client&) = delete;
  Client& operator=(const Client&) = delete;

  CURLSH* share() const { return share_; }

 private:
  Client() = default;
  CURLSH* share_ = nullptr;
};

// The client of the run; made by the first call that succeeds in making it.
Client* client() {
  static std::unique_ptr<Client> instance;
  if (!instance)
    instance = Client::make();
  return instance.get();
}

bool isBadByte(unsigned char c) {
  return c <= 0x20 || c == 0x7F;
}

bool isSchemeByte(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '+' ||
         c == '-' || c == '.';
}

// Where the scheme of `link` and its ":" end, or 0 when it has none (a relative reference).
std::size_t schemeEnd(std::string_view link) {
  if (link.empty() || !std::isalpha(static_cast<unsigned char>(link[0])))
    return 0;
  std::size_t colon = 1;
  while (colon < link.size() && isSchemeByte(link[colon]))
    ++colon;
  return colon < link.size() && link[colon] == ':' ? colon + 1 : 0;
}

// Where the authority of `link` ends, found as libcurl's parser finds it: after "scheme:"
// or a leading "//", and the slashes that follow, up to the first "/", "?" or "#". Zero
// for a relative reference without one.
std::size_t authorityEnd(std::string_view link) {
  std::size_t at = schemeEnd(link);
  if (at == 0 && !link.starts_with("//"))
    return 0;
  while (at < link.size() && link[at] == '/')
    ++at;
  return std::min(link.find_first_of("/?#", at), link.size());
}

// `link` with each space or control byte of its path, query and fragment written as %XX,
// since a request line cannot carry them raw; empty when one stands before the path.
std::string escapeBadBytes(std::string_view link) {
  const std::size_t pathStart = authorityEnd(link);
  const std::string_view head = link.substr(0, pathStart);
  if (std::any_of(head.begin(), head.end(),
                  [](char c) { return isBadByte(static_cast<unsigned char>(c)); })) {
    return {};
  }
  std::string out(head);
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (const char c : link.substr(pathStart)) {
    const auto b = static_cast<unsigned char>(c);
    if (isBadByte(b)) {
      out += '%';
      out += kHex[b >> 4];
      out += kHex[b & 0x0F];
    } else {
      out += c;
    }
  }
  return out;
}

std::string getPart(CURLU* url, CURLUPart part, unsigned flags = 0) {
  char* raw = nullptr;
  if (curl_url_get(url, part, &raw, flags) != CURLUE_OK)
    return {};
  const CurlString owned(raw);
  return std::string(owned.get());
}

// Makes `url` the canonical form of the absolute URL `link`, without its fragment. False
// when `link` is not an http or https URL.
bool setLink(CURLU* url, std::string_view link) {
  link = link.substr(0, link.find('\0'));
  const std::string escaped = escapeBadBytes(link);
  if (escaped.empty())
    return false;
  // No flags: no scheme is guessed, nothing is encoded, dot segments are resolved.
  if (curl_url_set(url, CURLUPART_URL, escaped.c_str(), 0) != CURLUE_OK)
    return false;
  const std::string scheme = getPart(url, CURLUPART_SCHEME);
  if (scheme != "http" && scheme != "https")
    return false;
  return curl_url_set(url, CURLUPART_FRAGMENT, nullptr, 0) == CURLUE_OK;
}

// The absolute URL that a redirect's `location` names, taken relative to `base`. Done here
// because libcurl's own resolution percent-encodes bytes of 80 and above.
std::string absoluteLocation(CURLU* base, std::string_view location) {
  if (schemeEnd(location) != 0)
    return std::string(location);
  if (location.starts_with("//"))
    return getPart(base, CURLUPART_SCHEME) + ":" + std::string(location);
  const std::string baseUrl = getPart(base, CURLUPART_URL);
  const std::string origin = baseUrl.substr(0, authorityEnd(baseUrl));
  const std::string path = getPart(base, CURLUPART_PATH);
  if (location.starts_with("/"))
    return origin + std::string(location);
  if (location.starts_with("?"))
    return origin + path + std::string(location);
  if (location.starts_with("#"))
    return baseUrl;
  // A relative path replaces the last segment; its dot segments are resolved later.
  return origin + path.substr(0, path.rfind('/') + 1) + std::string(location);
}

// Whether libcurl will send a request for `scheme` through a proxy named in the
// environment, looked up as libcurl looks it up (only the lower-case name for http).
// no_proxy is left to libcurl, so a true here may still mean a direct connection.
bool proxyConfigured(const std::string& scheme) {
  const auto named = [](const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
  };
  if (scheme == "http" ? named("http_proxy") : (named("https_proxy") || named("HTTPS_PROXY"))) {
    return true;
  }
  return named("all_proxy") || named("ALL_PROXY");
}

// The request target exactly as the URL holds it. libcurl would percent-encode bytes of
// 80 and above in the path; they are characters of the local code page and go out as
// they are.
std::string requestTarget(CURLU* url) {
  std::string target = getPart(url, CURLUPART_PATH);
  if (target.empty())
    target.push_back('/');  // not `= "/"`: g++ 12 warns falsely on that assignment at -O3
  char* raw = nullptr;
  if (curl_url_get(url, CURLUPART_QUERY, &raw, 0) == CURLUE_OK) {
    const CurlString query(raw);
    target += '?';
    target += query.get();
  }
  return target;
}

bool sameOrigin(CURLU* a, CURLU* b) {
  for (const CURLUPart part : {CURLUPART_SCHEME, CURLUPART_HOST, CURLUPART_PORT}) {
    const unsigned flags = part == CURLUPART_PORT ? CURLU_DEFAULT_PORT : 0;
    if (getPart(a, part, flags) != getPart(b, part, flags))
      return false;
  }
  return true;
}

bool startsWithNoCase(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() &&
         std::equal(prefix.begin(), prefix.end(), s.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

std::string_view trimmed(std::string_view s) {
  const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!s.empty() && space(s.front()))
    s.remove_prefix(1);
  while (!s.empty() && space(s.back()))
    s.remove_suffix(1);
  return s;
}

// The state of one request, shared with libcurl's callbacks.
struct Transfer {
  using Clock = std::chrono::steady_clock;

  CURL* easy = nullptr;
  std::size_t maxBodyBytes = 0;
  Clock::duration stallTimeout{};
  bool requestSent = false;
  Clock::time_point lastByte = Clock::now();
  // The response being received. Interim answers (1xx) come before the final one.
  int status = 0;
  std::string location;
  bool redirect = false;
  std::string body;
  bool sized = false;
};

std::size_t onHeader(char* data, std::size_t size, std::size_t count, void* user) {
  auto* t = static_cast<Transfer*>(user);
  const std::size_t n = size * count;
  const std::string_view line(data, n);
  t->lastByte = Transfer::Clock::now();
  if (line.starts_with("HTTP/")) {
    // A new response begins: "HTTP/1.1 302 Found".
    const std::size_t space = line.find(' ');
    t->status = space == std::string_view::npos ? 0 : std::atoi(line.data() + space + 1);
    t->location.clear();
  } else if (startsWithNoCase(line, "Location:")) {
    t->location = trimmed(line.substr(9));
  } else if (trimmed(line).empty() && t->status >= 300 && t->status < 400 && !t->location.empty()) {
    // A redirect's body is never wanted: end the transfer with its headers, as a browser
    // does, and let the caller follow it.
    t->redirect = true;
    return 0;
  }
  return n;
}

std::size_t onBody(char* data, std::size_t size, std::size_t count, void* user) {
  auto* t = static_cast<Transfer*>(user);
  const std::size_t n = size * count;
  t->lastByte = Transfer::Clock::now();
  if (!t->sized) {
    t->sized = true;
    curl_off_t length = -1;
    if (curl_easy_getinfo(t->easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) == CURLE_OK &&
        length > 0) {
      t->body.reserve(static_cast<std::size_t>(
          std::min<curl_off_t>(length, static_cast<curl_off_t>(t->maxBodyBytes))));
    }
  }
  // Taking fewer bytes than offered makes libcurl end the transfer with a write error.
  const std::size_t take = std::min(n, t->maxBodyBytes - t->body.size());
  // Without a Content-Length the buffer at least doubles as it grows, as std::string
  // would, but through the sizes cap/2^k, so that the last step lands on the cap itself
  // instead of up to twice past it.
  const std::size_t needed = t->body.size() + take;
  if (needed > t->body.capacity()) {
    std::size_t grown = t->maxBodyBytes;
    while (grown / 2 >= needed && grown / 2 >= 2 * t->body.capacity())
      grown /= 2;
    t->body.reserve(grown);
  }
  t->body.append(data, take);
  return take;
}

// Called once the connection stands, right before the request goes out: the stall clock
// starts here, leaving the connect phase to the connect time-out.
int onRequestReady(void* user, char*, char*, int, int) {
  auto* t = static_cast<Transfer*>(user);
  t->requestSent = true;
  t->lastByte = Transfer::Clock::now();
  return CURL_PREREQFUNC_OK;
}

int onProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  const auto* t = static_cast<const Transfer*>(user);
  const bool stalled = t->requestSent && Transfer::Clock::now() - t->lastByte >= t->stallTimeout;
  return stalled ? 1 : 0;
}

template <typename T>
bool set(CURL* easy, CURLoption option, T value) {
  return curl_easy_setopt(easy, option, value) == CURLE_OK;
}

// One request on a connection of its own; `t` receives the response. False when the
// request could not be set up.
bool requestOnce(CURLSH* share, CURLU* url, const HttpGetRequest& request, Transfer& t) {
  const Easy easy(curl_easy_init());
  if (!easy)
    return false;
  CURL* const h = easy.get();
  t.easy = h;

  const std::string target = requestTarget(url);
  // A proxy needs the whole URL as the target, which libcurl builds only when it forms
  // the target itself: then bytes of 80 and above in the path go out as %xx.
  const bool ownTarget = !proxyConfigured(getPart(url, CURLUPART_SCHEME));
  const std::string userAgent(request.userAgent);
  const std::string acceptLine = "Accept: " + std::string(request.accept);
  const Slist headers(curl_slist_append(nullptr, acceptLine.c_str()));
  // Through an http proxy, libcurl would ask it for keep-alive; an empty value drops that.
  const Slist proxyHeaders(curl_slist_append(nullptr, "Proxy-Connection:"));
  if (!headers || !proxyHeaders)
    return false;

  const bool ready =
      set(h, CURLOPT_CURLU, url) &&
      (!ownTarget || set(h, CURLOPT_REQUEST_TARGET, target.c_str())) &&
      set(h, CURLOPT_PROTOCOLS_STR, "http,https") &&
      set(h, CURLOPT_HTTP_VERSION, long{CURL_HTTP_VERSION_1_0}) && set(h, CURLOPT_HTTPGET, 1L) &&
      set(h, CURLOPT_USERAGENT, userAgent.c_str()) && set(h, CURLOPT_HTTPHEADER, headers.get()) &&
      set(h, CURLOPT_PROXYHEADER, proxyHeaders.get()) &&
      set(h, CURLOPT_HEADEROPT, long{CURLHEADER_SEPARATE}) &&
      // Redirects are followed by the caller, one request each, so that every request
      // target goes out unencoded.
      set(h, CURLOPT_FOLLOWLOCATION, 0L) && set(h, CURLOPT_SHARE, share) &&
      set(h, CURLOPT_COOKIEFILE, "") && set(h, CURLOPT_FORBID_REUSE, 1L) &&
      set(h, CURLOPT_FRESH_CONNECT, 1L) && set(h, CURLOPT_SSL_VERIFYPEER, 1L) &&
      set(h, CURLOPT_SSL_VERIFYHOST, 2L) && set(h, CURLOPT_NOSIGNAL, 1L) &&
      set(h, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(request.connectTimeout.count())) &&
      set(h, CURLOPT_HEADERFUNCTION, onHeader) && set(h, CURLOPT_HEADERDATA, &t) &&
      set(h, CURLOPT_WRITEFUNCTION, onBody) && set(h, CURLOPT_WRITEDATA, &t) &&
      set(h, CURLOPT_PREREQFUNCTION, onRequestReady) && set(h, CURLOPT_PREREQDATA, &t) &&
      set(h, CURLOPT_XFERINFOFUNCTION, onProgress) && set(h, CURLOPT_XFERINFODATA, &t) &&
      set(h, CURLOPT_NOPROGRESS, 0L);
  if (!ready)
    return false;
  // The outcome is in `t`: a body that broke off keeps its bytes, and a request that got
  // no response has none.
  curl_easy_perform(h);
  return true;
}

}  // namespace

std::string httpGet(const HttpGetRequest& request) {
  if (request.link.empty())
    return {};
  Client* const shared = client();
  if (shared == nullptr)
    return {};
  const Url link(curl_url());
  if (!link || !setLink(link.get(), request.link))
    return {};
  // The URL of each request in turn: the link, then where its redirects lead.
  const Url url(curl_url_dup(link.get()));
  if (!url)
    return {};
  const std::string user = getPart(link.get(), CURLUPART_USER);
  const std::string password = getPart(link.get(), CURLUPART_PASSWORD);

  for (int redirects = 0;; ++redirects) {
    Transfer t;
    t.maxBodyBytes = request.maxBodyBytes;
    t.stallTimeout = request.stallTimeout;
    if (!requestOnce(shared->share(), url.get(), request, t))
      return {};
    if (!t.redirect) {
      std::string body = std::move(t.body);
      // A Content-Length larger than what came should not pin its whole reservation.
      if (body.capacity() - body.size() > std::max<std::size_t>(body.size(), 64 * 1024)) {
        body.shrink_to_fit();
      }
      return body;
    }
    // A loop of redirects must end somewhere.
    if (redirects == kMaxRedirects)
      return {};
    // Relative locations keep the credentials of the URL they are resolved against; a
    // location that names the link's host again gets the link's credentials back.
    if (!setLink(url.get(), absoluteLocation(url.get(), t.location)))
      return {};
    if (!user.empty() && getPart(url.get(), CURLUPART_USER).empty() &&
        sameOrigin(url.get(), link.get())) {
      curl_url_set(url.get(), CURLUPART_USER, user.c_str(), 0);
      if (!password.empty())
        curl_url_set(url.get(), CURLUPART_PASSWORD, password.c_str(), 0);
    }
  }
}

}  // namespace quorvane
