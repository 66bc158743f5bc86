#include "resolve/page_fetch.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <string>

#include "support/loopback_server.h"

namespace quorvane {
namespace {

using namespace std::chrono_literals;
using namespace std::string_literals;

constexpr const char* kUserAgent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";

// Short bounds so that a fault shows as a failure rather than a hang.
const FetchLimits kQuick{.connectTimeout = 5s, .stallTimeout = 1s, .maxBodyBytes = 64u << 20};

std::string expectedRequest(const std::string& target, int port) {
  return "GET " + target + " HTTP/1.0\r\nHost: 127.0.0.1:" + std::to_string(port) +
         "\r\nUser-Agent: " + kUserAgent + "\r\nAccept: */*\r\n\r\n";
}

std::string digits(std::size_t count) {
  std::string s;
  while (s.size() < count)
    s += "0123456789";
  s.resize(count);
  return s;
}

// A port on 127.0.0.1 that nothing listens on: bound once by us, then released.
int closedPort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof a;
  ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
  ::close(fd);
  return ntohs(a.sin_port);
}

// Sets an environment variable for one scope, restoring it afterwards.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name))
      old_ = old;
    ::setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() {
    if (old_) {
      ::setenv(name_, old_->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

class PageFetch : public ::testing::Test {
 protected:
  LoopbackServer server;
};

TEST_F(PageFetch, SendsExactlyTheFixedRequest) {
  server.put("dir/page.txt", "the page");
  EXPECT_EQ(httpGetBody(server.url("/dir/./sub/../page.txt?x=1&y=%41#frag"), kQuick), "the page");
  const auto seen = server.requests();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0], expectedRequest("/dir/page.txt?x=1&y=%41", server.port()));
  // The scheme is not case-sensitive.
  EXPECT_EQ(
      httpGetBody("HTTP://127.0.0.1:" + std::to_string(server.port()) + "/dir/page.txt", kQuick),
      "the page");
}

TEST_F(PageFetch, RequestTargetIsTheCanonicalLinkWithoutEscaping) {
  struct Case {
    std::string pathAndQuery, target;
  };
  const Case cases[] = {
      {"", "/"},
      {"/a/b/../../c", "/c"},
      {"/a/./b/.", "/a/b/"},
      {"/../../x", "/x"},
      {"/a/%2e%2e/b", "/a/%2e%2e/b"},  // nothing decoded
      {"/a%20b?q=%zz&r=%2F", "/a%20b?q=%zz&r=%2F"},
      {"/q?p=../x", "/q?p=../x"},  // a query keeps its dots
      {"/x#a/../b", "/x"},
      {"/x?#", "/x?"},
      // Bytes of 80 and above go out as they are: two-byte characters of the local code page.
      {"/\xC4\xE3\xBA\xC3?n=\xE6\x96\x87", "/\xC4\xE3\xBA\xC3?n=\xE6\x96\x87"},
      // A request line cannot carry a raw space or control byte: just those are escaped.
      {"/my file.txt", "/my%20file.txt"},
      {"/a\tb?q=1 2\x7F\x01", "/a%09b?q=1%202%7F%01"},
      {"/trailing ", "/trailing%20"},
      // The link is a Text: it ends at its first NUL.
      {"/a\0b c"s, "/a"},
  };
  for (const auto& c : cases) {
    server.clearRequests();
    httpGetBody(server.url(c.pathAndQuery), kQuick);
    const auto seen = server.requests();
    ASSERT_EQ(seen.size(), 1u) << c.pathAndQuery;
    EXPECT_EQ(seen[0], expectedRequest(c.target, server.port())) << c.pathAndQuery;
  }
}

TEST_F(PageFetch, SendsNothingForLinksThatAreNotHttp) {
  server.put("page.txt", "the page");
  const std::string hostPort = "127.0.0.1:" + std::to_string(server.port());
  const std::string links[] = {
      "",
      hostPort + "/page.txt",  // no scheme is guessed
      "//" + hostPort + "/page.txt",
      "ftp://" + hostPort + "/page.txt",
      "gopher://" + hostPort + "/page.txt",
      "file://" + server.root() + "/page.txt",
      "http:",
      "http://",
      " " + server.url("/page.txt"),
      "http://127.0.0.1 :" + std::to_string(server.port()) + "/page.txt",
      "http://127.0.\t0.1:" + std::to_string(server.port()) + "/page.txt",
  };
  for (const auto& link : links) {
    EXPECT_EQ(httpGetBody(link, kQuick), "") << link;
    EXPECT_EQ(fetchPageText(link, kQuick), "") << link;
  }
  EXPECT_TRUE(server.requests().empty());
}

TEST_F(PageFetch, ErrorStatusBodiesAreThePage) {
  for (const std::string code : {"404", "500", "403"}) {
    const std::string link = server.url("/_status/" + code + "?body=error%20page%20" + code);
    EXPECT_EQ(httpGetBody(link, kQuick), "error page " + code);
    EXPECT_EQ(fetchPageText(link, kQuick), "error page " + code);
  }
  EXPECT_EQ(httpGetBody(server.url("/missing.txt"), kQuick), "not found");
}

TEST_F(PageFetch, FollowsRedirectsAndKeepsOnlyTheFinalBody) {
  server.put("dir/target.txt", "arrived");
  server.put("my file \xC4\xE3.txt", "spaced");
  struct Case {
    std::string query;  // of /_redirect: the status and the location, percent-encoded
    std::string target, body;
  };
  const std::string hostPort = "127.0.0.1:" + std::to_string(server.port());
  const Case cases[] = {
      {"to=/dir/target.txt", "/dir/target.txt", "arrived"},
      {"code=301&to=http://" + hostPort + "/dir/target.txt", "/dir/target.txt", "arrived"},
      {"code=303&to=//" + hostPort + "/dir/./target.txt", "/dir/target.txt", "arrived"},
      {"code=307&to=dir/sub/../target.txt%23part", "/dir/target.txt", "arrived"},
      {"code=308&to=%2F_status%2F404%3Fbody%3Dgone", "/_status/404?body=gone", "gone"},
      // A location is taken like a link: a raw space is escaped, other bytes go as they are.
      {"to=%2Fmy%20file%20%C4%E3.txt", "/my%20file%20\xC4\xE3.txt", "spaced"},
  };
  for (const auto& c : cases) {
    server.clearRequests();
    EXPECT_EQ(httpGetBody(server.url("/_redirect?" + c.query), kQuick), c.body) << c.query;
    // The followed request is the same fixed request: no Referer, nothing added.
    const auto seen = server.requests();
    ASSERT_EQ(seen.size(), 2u) << c.query;
    EXPECT_EQ(seen[1], expectedRequest(c.target, server.port())) << c.query;
  }
}

TEST_F(PageFetch, RefusesRedirectsToOtherSchemes) {
  server.put("secret.txt", "local file");
  for (const std::string& to :
       {"file://" + server.root() + "/secret.txt",
        "ftp://127.0.0.1:" + std::to_string(server.port()) + "/secret.txt"}) {
    server.clearRequests();
    EXPECT_EQ(httpGetBody(server.url("/_redirect?to=" + to), kQuick), "") << to;
    EXPECT_EQ(server.requests().size(), 1u) << to;
  }
}

TEST_F(PageFetch, EndsARedirectLoop) {
  // Without `to` the server sends the client back where it came from, for ever.
  EXPECT_EQ(httpGetBody(server.url("/_redirect"), kQuick), "");
  EXPECT_EQ(server.requests().size(), 21u);  // the request and 20 redirects
}

TEST_F(PageFetch, CookiesLastForTheRun) {
  // Cookies ignore ports: the path keeps this one away from the other tests' requests.
  EXPECT_EQ(
      httpGetBody(server.url("/_setcookie?cookie=probe%3Dfirst%3B%20Path%3D%2F_cookie"), kQuick),
      "cookie set");
  EXPECT_EQ(httpGetBody(server.url("/_cookie"), kQuick), "probe=first");
  // Another server on another port is the same host to the cookie store.
  LoopbackServer other;
  EXPECT_EQ(httpGetBody(other.url("/_cookie"), kQuick), "probe=first");
  // A cookie set by a redirect goes with the request that follows it.
  EXPECT_EQ(httpGetBody(server.url("/_status/302?header=Set-Cookie:%20hop%3D1%3B%20Path%3D%2F_"
                                   "cookie%2Fhop&header=Location:%20%2F_cookie%2Fhop"),
                        kQuick),
            "hop=1; probe=first");
}

TEST_F(PageFetch, CredentialsGoToTheLinksHostOnly) {
  const std::string authority = "user:pw@127.0.0.1:" + std::to_string(server.port());
  const std::string basic = "\r\nAuthorization: Basic dXNlcjpwdw==\r\n";
  httpGetBody("http://" + authority + "/_redirect?to=/after", kQuick);
  httpGetBody("http://" + authority +
                  "/_redirect?to=http://localhost:" + std::to_string(server.port()) + "/elsewhere",
              kQuick);
  const auto seen = server.requests();
  ASSERT_EQ(seen.size(), 4u);
  EXPECT_NE(seen[0].find(basic), std::string::npos) << seen[0];
  EXPECT_NE(seen[1].find(basic), std::string::npos) << seen[1];
  EXPECT_NE(seen[2].find(basic), std::string::npos) << seen[2];
  EXPECT_EQ(seen[3].find("Authorization"), std::string::npos) << seen[3];
}

TEST_F(PageFetch, BodyWithNulIsWholeButThePageTextEndsBeforeIt) {
  const std::string link = server.url("/_nul");
  EXPECT_EQ(httpGetBody(link, kQuick), std::string("before\0after", 12));
  EXPECT_EQ(fetchPageText(link, kQuick), "before");
}

TEST_F(PageFetch, KeepsTheBytesOfABodyCutShort) {
  EXPECT_EQ(httpGetBody(server.url("/_cut"), kQuick), digits(300));
  EXPECT_EQ(httpGetBody(server.url("/_cut?length=100000&send=70000"), kQuick), digits(70000));
}

TEST_F(PageFetch, GivesNothingWhenNoResponseComes) {
  EXPECT_EQ(httpGetBody("http://127.0.0.1:" + std::to_string(closedPort()) + "/x", kQuick), "");
  EXPECT_EQ(httpGetBody(server.url("/_hangup"), kQuick), "");
}

TEST_F(PageFetch, AStalledTransferEndsAndKeepsTheBytesSoFar) {
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(httpGetBody(server.url("/_stall?bytes=7"), kQuick), "0123456");
  // Silent before the headers: nothing arrived, so nothing is kept.
  EXPECT_EQ(httpGetBody(server.url("/_silent"), kQuick), "");
  // Not a speed check: without the stall bound each of these would never return.
  EXPECT_LT(std::chrono::steady_clock::now() - start, 20s);
}

TEST_F(PageFetch, StopsReadingAtTheBodyCap) {
  struct Case {
    std::string query;
    std::size_t cap, expected;
  };
  const Case cases[] = {
      {"bytes=5000", 1000, 1000},
      {"bytes=5000&nolength=1", 1000, 1000},
      {"bytes=1000", 1000, 1000},
      {"bytes=999", 1000, 999},
      {"bytes=3000000&nolength=1", 2000000, 2000000},
  };
  for (const auto& c : cases) {
    FetchLimits limits = kQuick;
    limits.maxBodyBytes = c.cap;
    EXPECT_EQ(httpGetBody(server.url("/_big?" + c.query), limits), digits(c.expected)) << c.query;
  }
}

TEST_F(PageFetch, UsesTheProxyFromTheEnvironment) {
  // The loopback server plays the proxy: the absolute target shows the request came to it.
  const ScopedEnv proxy("http_proxy", server.url(""));
  httpGetBody("http://quorvane.invalid/page?q=1", kQuick);
  const auto seen = server.requests();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].rfind("GET http://quorvane.invalid/page?q=1 HTTP/1.0\r\n", 0), 0u) << seen[0];
  // Keep-alive is not asked of a proxy either.
  EXPECT_EQ(seen[0].find("Connection"), std::string::npos) << seen[0];
}

TEST(PageFetchTls, UntrustedCertificateGivesNothing) {
  LoopbackServer server(LoopbackServer::https);
  server.put("page.txt", "secret page");
  EXPECT_EQ(httpGetBody(server.url("/page.txt"), kQuick), "");
  EXPECT_TRUE(server.requests().empty());
}

}  // namespace
}  // namespace quorvane
