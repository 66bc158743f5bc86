// LoopbackServer: a throw-away HTTP(S) server on 127.0.0.1 for the test programs, run by
// test_server.py (its docstring lists every path it answers) in a fresh temporary root.
// Free of any test framework, so GoogleTest and Qt Test programs use it alike; a program
// that links it is compiled with QUORVANE_PYTHON and QUORVANE_TEST_SERVER set to the
// interpreter and the script (tests/CMakeLists.txt does so).
//
//   LoopbackServer server;                          // or LoopbackServer{LoopbackServer::https}
//   server.put("page.html", "file_url=\"x\"");      // GET /page.html now serves these bytes
//   std::string body = httpGetBody(server.url("/page.html"));
//   std::vector<std::string> seen = server.requests();  // raw request line and headers
//   server.url("/_status/404?body=gone");           // special behaviours live under "/_"
//
// The constructor throws std::runtime_error when the server cannot be started; the
// destructor stops the server and removes its root. The https server presents a
// self-signed certificate made for it at start-up, which no client trusts by default.
#pragma once

#include <sys/types.h>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

class LoopbackServer {
 public:
  enum Scheme { http, https };

  explicit LoopbackServer(Scheme scheme = http);
  ~LoopbackServer();
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  // Makes GET /`name` answer with exactly `bytes` (status 200). `name` may hold "/"; the
  // folders are made as needed. A later put of the same name replaces the bytes.
  void put(std::string_view name, std::string_view bytes) const;

  // "http://127.0.0.1:PORT" (or https) followed by `pathAndQuery`, which should begin
  // with "/". Nothing in it is encoded.
  std::string url(std::string_view pathAndQuery) const;

  // Every request received so far, oldest first: the raw request line and headers up to
  // and including the empty line, byte for byte. Requests are recorded before they are
  // answered, so a request whose fetch has returned is always here.
  std::vector<std::string> requests() const;

  // Forgets the requests received so far.
  void clearRequests() const;

  int port() const { return port_; }
  // The folder the server serves from (a fresh temporary directory).
  const std::string& root() const { return root_; }
  // The PEM certificate the https server presents; empty for http.
  const std::string& certificateFile() const { return certificateFile_; }

 private:
  void stop();
  void removeBase();

  Scheme scheme_;
  std::string base_;  // the temporary directory: the root and the TLS files
  std::string root_;
  std::string certificateFile_;
  pid_t pid_ = -1;
  int stdinFd_ = -1;
  int port_ = 0;
};

}  // namespace quorvane
