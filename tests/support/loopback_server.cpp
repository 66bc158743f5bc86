#include "support/loopback_server.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#if !defined(QUORVANE_PYTHON) || !defined(QUORVANE_TEST_SERVER)
#error "QUORVANE_PYTHON and QUORVANE_TEST_SERVER must name the interpreter and test_server.py"
#endif

extern char** environ;

namespace quorvane {
namespace {

namespace fs = std::filesystem;

constexpr const char* kRequestLog = "_requests.log";
constexpr auto kStartTimeout = std::chrono::seconds(20);

[[noreturn]] void fail(const std::string& what) {
  throw std::runtime_error("LoopbackServer: " + what);
}

// Closes a descriptor if it is open and marks it closed.
void closeFd(int& fd) {
  if (fd >= 0)
    ::close(fd);
  fd = -1;
}

pid_t waitFor(pid_t pid) {
  int status = 0;
  pid_t r;
  do {
    r = ::waitpid(pid, &status, 0);
  } while (r < 0 && errno == EINTR);
  return r < 0 ? -1 : status;
}

// Runs `argv` with its output thrown away; true when it exits with status 0.
bool runQuietly(const std::vector<std::string>& argv) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  std::vector<char*> args;
  for (const auto& a : argv)
    args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid_t pid = -1;
  const int rc = ::posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0)
    return false;
  const int status = waitFor(pid);
  return status >= 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Reads the first line the server prints (its port), giving up at the deadline.
int readPort(int fd) {
  const auto deadline = std::chrono::steady_clock::now() + kStartTimeout;
  std::string line;
  while (line.find('\n') == std::string::npos) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0)
      return -1;
    pollfd p{fd, POLLIN, 0};
    const int ready = ::poll(&p, 1, static_cast<int>(left.count()));
    if (ready < 0 && errno == EINTR)
      continue;
    if (ready <= 0)
      return -1;
    char buf[64];
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0)
      return -1;
    line.append(buf, static_cast<std::size_t>(n));
  }
  const int port = std::atoi(line.c_str());
  return port > 0 && port < 65536 ? port : -1;
}

}  // namespace

LoopbackServer::LoopbackServer(Scheme scheme) : scheme_(scheme) {
  std::string dir = (fs::temp_directory_path() / "quorvane-loopback-XXXXXX").string();
  if (::mkdtemp(dir.data()) == nullptr)
    fail("cannot make a temporary directory");
  base_ = dir;
  root_ = dir + "/www";
  fs::create_directory(root_);

  std::vector<std::string> argv = {QUORVANE_PYTHON, "-I", "-u", QUORVANE_TEST_SERVER, root_};
  if (scheme_ == https) {
    // A P-256 key keeps start-up quick; the name and address match what clients dial.
    certificateFile_ = dir + "/cert.pem";
    const std::string key = dir + "/key.pem";
    if (!runQuietly({"openssl", "req", "-x509", "-newkey", "ec", "-pkeyopt",
                     "ec_paramgen_curve:prime256v1", "-nodes", "-days", "2", "-subj",
                     "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1,DNS:localhost",
                     "-keyout", key, "-out", certificateFile_})) {
      removeBase();
      fail("openssl could not make a self-signed certificate");
    }
    argv.insert(argv.end(), {"--tls-cert", certificateFile_, "--tls-key", key});
  }

  // The server's stdin stays open as long as this object: it exits at end of file, so it
  // never outlives a test program that dies without running destructors.
  int in[2], out[2];
  if (::pipe2(in, O_CLOEXEC) != 0) {
    removeBase();
    fail("pipe failed");
  }
  if (::pipe2(out, O_CLOEXEC) != 0) {
    ::close(in[0]);
    ::close(in[1]);
    removeBase();
    fail("pipe failed");
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], 0);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  std::vector<char*> args;
  for (const auto& a : argv)
    args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  const int rc = ::posix_spawn(&pid_, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(in[0]);
  ::close(out[1]);
  stdinFd_ = in[1];
  if (rc != 0) {
    pid_ = -1;
    ::close(out[0]);
    stop();
    fail(std::string("cannot start ") + QUORVANE_PYTHON);
  }
  port_ = readPort(out[0]);
  ::close(out[0]);
  if (port_ < 0) {
    stop();
    fail("the server did not report its port");
  }
}

LoopbackServer::~LoopbackServer() {
  stop();
}

void LoopbackServer::stop() {
  closeFd(stdinFd_);
  if (pid_ > 0) {
    ::kill(pid_, SIGTERM);
    waitFor(pid_);
    pid_ = -1;
  }
  removeBase();
}

void LoopbackServer::removeBase() {
  if (base_.empty())
    return;
  std::error_code ignored;
  fs::remove_all(base_, ignored);
  base_.clear();
}

void LoopbackServer::put(std::string_view name, std::string_view bytes) const {
  const fs::path file = fs::path(root_) / fs::path(name).relative_path();
  fs::create_directories(file.parent_path());
  std::ofstream f(file, std::ios::binary | std::ios::trunc);
  f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!f)
    fail("cannot write " + file.string());
}

std::string LoopbackServer::url(std::string_view pathAndQuery) const {
  return std::string(scheme_ == https ? "https" : "http") +
         "://127.0.0.1:" + std::to_string(port_) + std::string(pathAndQuery);
}

std::vector<std::string> LoopbackServer::requests() const {
  std::ifstream f(fs::path(root_) / kRequestLog, std::ios::binary);
  const std::string log((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  // Records are "<byte count>\n<bytes>".
  std::vector<std::string> out;
  std::size_t at = 0;
  while (at < log.size()) {
    const std::size_t eol = log.find('\n', at);
    if (eol == std::string::npos)
      break;
    const std::size_t count = std::strtoull(log.c_str() + at, nullptr, 10);
    if (eol + 1 + count > log.size())
      break;
    out.push_back(log.substr(eol + 1, count));
    at = eol + 1 + count;
  }
  return out;
}

void LoopbackServer::clearRequests() const {
  std::ofstream(fs::path(root_) / kRequestLog, std::ios::binary | std::ios::trunc);
}

}  // namespace quorvane
