// Peak memory of resolving a large page through a real fetch: the page is served by the
// tests' loopback server, written there piece by piece so this process never holds it before
// the fetch. Prints the page size, the peak resident memory before and after, and the time.
//   fetch_memory [MiB] [kuaichuan|netdisk]
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "pages.h"
#include "resolve/kuaichuan_page.h"
#include "resolve/netdisk_share.h"
#include "resolve/result_fields.h"
#include "support/loopback_server.h"

namespace {

long peakKiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv) {
  const std::size_t mib = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 64;
  const bool netdisk = argc > 2 && std::string(argv[2]) == "netdisk";
  const std::size_t bytes = mib << 20;

  quorvane::LoopbackServer server;
  {
    std::ofstream out(server.root() + "/page.html", std::ios::binary);
    // Whole entries only, so that every value on the page is well formed.
    const std::string entry =
        netdisk ? quorvane::bench::netdiskEntry() : quorvane::bench::kuaichuanEntry();
    std::string chunk;
    while (chunk.size() < (1u << 20))
      chunk += entry;
    for (std::size_t written = 0; written < bytes; written += chunk.size())
      out << chunk;
  }
  const long before = peakKiB();

  quorvane::RecordedFields fields;
  const auto start = std::chrono::steady_clock::now();
  const quorvane::Text address =
      netdisk ? quorvane::resolveNetdiskShare(server.url("/page.html"), fields)
              : quorvane::resolveKuaichuanPage(server.url("/page.html"), fields);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const long after = peakKiB();

  std::printf(
      "page %zu MiB (%s): peak RSS %.1f MiB before, %.1f MiB after (%.2fx the page); "
      "%.2f s; address %zu bytes, size %s\n",
      mib, netdisk ? "netdisk" : "kuaichuan", before / 1024.0, after / 1024.0,
      static_cast<double>(after) * 1024 / static_cast<double>(bytes), seconds, address.size(),
      fields.sizeText.c_str());
  return 0;
}
