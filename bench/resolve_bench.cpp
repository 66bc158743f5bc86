// How long a resolve takes over in-memory pages, well-formed and hostile, beside the floor
// that any resolver must pay: finding the four patterns' literal openings with memmem.
// Each resolve benchmark reports "x_floor", its time over that floor on the same bytes.
#include <benchmark/benchmark.h>
#include <string.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "pages.h"
#include "resolve/kuaichuan_page.h"
#include "resolve/netdisk_share.h"
#include "resolve/result_fields.h"

namespace quorvane::bench {
namespace {

using Clock = std::chrono::steady_clock;

// What each pattern opens with, up to its first group: the bytes a search must find.
const std::vector<std::string> kKuaichuanOpenings = {"file_url=\"", "file_name=\"",
                                                     "first_file_size\" value='", "key\" value='"};
const std::vector<std::string> kNetdiskOpenings = {"dlink\\\":\\\"", "filename=", "size\\\":\\\"",
                                                   "md5\\\":\\\""};

enum Service { kKuaichuan, kNetdisk };

const std::vector<std::string>& openings(Service s) {
  return s == kKuaichuan ? kKuaichuanOpenings : kNetdiskOpenings;
}

Text resolve(Service s, const std::string& page) {
  RecordedFields fields;
  return s == kKuaichuan ? resolveKuaichuanText(page, fields) : resolveNetdiskText(page, fields);
}

// Every occurrence of every opening, as a plain scan would find them.
std::size_t floorScan(const std::string& page, const std::vector<std::string>& needles) {
  std::size_t found = 0;
  for (const std::string& needle : needles) {
    const char* at = page.data();
    const char* end = page.data() + page.size();
    while (const void* hit =
               memmem(at, static_cast<std::size_t>(end - at), needle.data(), needle.size())) {
      ++found;
      at = static_cast<const char*>(hit) + needle.size();
    }
  }
  return found;
}

double floorSeconds(const std::string& page, const std::vector<std::string>& needles) {
  double best = 1e9;
  for (int i = 0; i < 3; ++i) {
    const auto start = Clock::now();
    benchmark::DoNotOptimize(floorScan(page, needles));
    best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
  }
  return best;
}

// Pages are built once per kind and size: building 64 MiB is slower than resolving it.
const std::string& cachedPage(const std::string& key, std::string (*make)(std::size_t),
                              std::size_t bytes) {
  static std::map<std::string, std::string> pages;
  auto [it, added] = pages.try_emplace(key + "/" + std::to_string(bytes));
  if (added)
    it->second = make(bytes);
  return it->second;
}

void runResolve(benchmark::State& state, Service service, const std::string& page) {
  const double floor = floorSeconds(page, openings(service));
  double spent = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    benchmark::DoNotOptimize(resolve(service, page));
    spent += std::chrono::duration<double>(Clock::now() - start).count();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
  state.counters["x_floor"] = spent / static_cast<double>(state.iterations()) / floor;
}

void BM_KuaichuanPage(benchmark::State& state) {
  const auto bytes = static_cast<std::size_t>(state.range(0));
  runResolve(state, kKuaichuan, cachedPage("kuaichuan", kuaichuanPage, bytes));
}

void BM_NetdiskPage(benchmark::State& state) {
  const auto bytes = static_cast<std::size_t>(state.range(0));
  runResolve(state, kNetdisk, cachedPage("netdisk", netdiskPage, bytes));
}

// A hostile page made from one pattern's opening. range(0): which opening (0-3 Kuaichuan,
// 4-7 Netdisk); range(1): page bytes.
void runHostile(benchmark::State& state, std::string (*make)(const std::string&, std::size_t)) {
  const auto which = static_cast<std::size_t>(state.range(0));
  const Service service = which < 4 ? kKuaichuan : kNetdisk;
  const std::string& opening = openings(service)[which % 4];
  state.SetLabel(opening);
  runResolve(state, service, make(opening, static_cast<std::size_t>(state.range(1))));
}

void BM_RepeatedOpening(benchmark::State& state) {
  runHostile(state, repeatedEntries);
}

void BM_UnclosedValue(benchmark::State& state) {
  runHostile(state, unclosedValue);
}

void BM_Floor(benchmark::State& state) {
  const auto bytes = static_cast<std::size_t>(state.range(0));
  const std::string& page = cachedPage("kuaichuan", kuaichuanPage, bytes);
  for (auto _ : state)
    benchmark::DoNotOptimize(floorScan(page, kKuaichuanOpenings));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}

constexpr int64_t k100K = 100 << 10;
constexpr int64_t k10M = 10 << 20;
constexpr int64_t k64M = 64 << 20;

BENCHMARK(BM_Floor)->Arg(k100K)->Arg(k10M)->Arg(k64M)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KuaichuanPage)->Arg(k100K)->Arg(k10M)->Arg(k64M)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NetdiskPage)->Arg(k100K)->Arg(k10M)->Arg(k64M)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepeatedOpening)
    ->ArgsProduct({benchmark::CreateDenseRange(0, 7, 1), {k64M}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK(BM_UnclosedValue)
    ->ArgsProduct({benchmark::CreateDenseRange(0, 7, 1), {k64M}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace
}  // namespace quorvane::bench

BENCHMARK_MAIN();
