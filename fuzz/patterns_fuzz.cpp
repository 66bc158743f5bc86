// findAll, findLast and lastCapture with the resolvers' own eight patterns over any page
// text (the first byte picks the pattern): matches come strictly left to right and never
// overlap, every group lies inside the text and inside its match, and the last capture is
// group 1 of the last match, cut from the page. Where plain Boost.Regex finishes its
// searches, the list is the one it finds, match for match.
#include <boost/regex.hpp>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "resolve/page_walk.h"
#include "resolve/pattern.h"

namespace {

using quorvane::PatternMatch;

std::string_view patternText(unsigned choice) {
  const quorvane::ServicePage& page =
      choice & 4 ? quorvane::kNetdiskPage : quorvane::kKuaichuanPage;
  switch (choice & 3) {
    case 0:
      return page.addressPattern;
    case 1:
      return page.namePattern;
    case 2:
      return page.sizePattern;
    default:
      return page.md5Pattern;
  }
}

// The list findAll is meant to give, straight from regex_search over the rest of the text;
// nothing when the engine abandons a search, since the list then depends on where it gave up.
std::optional<std::vector<PatternMatch>> plainMatches(std::string_view patternText,
                                                      std::string_view text) {
  std::vector<PatternMatch> matches;
  try {
    const boost::regex expression(std::string(patternText), boost::regex::perl);
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    const char* from = begin;
    boost::cmatch found;
    while (from < end && boost::regex_search(from, end, found, expression, boost::match_default)) {
      PatternMatch match(found.size());
      for (std::size_t i = 0; i < found.size(); ++i) {
        match[i].matched = found[i].matched;
        if (found[i].matched) {
          match[i].start = static_cast<int32_t>(found[i].first - begin);
          match[i].length = static_cast<int32_t>(found[i].second - found[i].first);
        }
      }
      matches.push_back(match);
      from = found[0].second;  // these patterns never match the empty text
    }
  } catch (...) {
    return std::nullopt;
  }
  return matches;
}

bool sameMatch(const PatternMatch& a, const PatternMatch& b) {
  if (a.size() != b.size())
    return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].matched != b[i].matched)
      return false;
    if (a[i].matched && (a[i].start != b[i].start || a[i].length != b[i].length))
      return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0)
    return 0;
  const std::string_view pattern = patternText(data[0]);
  // Any bytes, NULs included: the search itself does not stop at one.
  const std::string_view page(reinterpret_cast<const char*>(data + 1), size - 1);
  const auto pageSize = static_cast<int64_t>(page.size());

  quorvane::Pattern compiled;
  FUZZ_CHECK(compiled.compile(pattern));
  const std::vector<PatternMatch> matches = compiled.findAll(page);

  int64_t previousEnd = 0;
  for (const PatternMatch& match : matches) {
    // Group 0 and the two groups of every one of these patterns.
    FUZZ_CHECK(match.size() == 3);
    for (const quorvane::MatchGroup& group : match) {
      FUZZ_CHECK(group.matched);
      FUZZ_CHECK(group.start >= 0 && group.length >= 0);
      FUZZ_CHECK(int64_t{group.start} + group.length <= pageSize);
    }
    const int64_t start = match[0].start;
    const int64_t end = start + match[0].length;
    // Each pattern opens with literal bytes, so no match is empty, and the next search
    // starts where this match ended.
    FUZZ_CHECK(match[0].length > 0);
    FUZZ_CHECK(start >= previousEnd);
    for (std::size_t i = 1; i < match.size(); ++i)
      FUZZ_CHECK(match[i].start >= start && int64_t{match[i].start} + match[i].length <= end);
    // Group 2 is the terminator: it follows the value directly and closes the match.
    FUZZ_CHECK(match[2].start == match[1].start + match[1].length);
    FUZZ_CHECK(int64_t{match[2].start} + match[2].length == end);
    previousEnd = end;
  }

  const PatternMatch last = compiled.findLast(page);
  FUZZ_CHECK(matches.empty() ? last.empty() : sameMatch(last, matches.back()));

  const quorvane::Text captured = quorvane::lastCapture(compiled, pattern, page);
  const quorvane::Text expected =
      matches.empty() ? quorvane::Text() : quorvane::groupText(matches.back(), page, 1);
  FUZZ_CHECK(captured == expected);
  if (!captured.empty()) {
    FUZZ_CHECK(page.substr(static_cast<std::size_t>(matches.back()[1].start), captured.size()) ==
               captured);
  }

  if (const auto plain = plainMatches(pattern, page)) {
    // A search given up early keeps the matches before it, so the list is never anything
    // but a prefix of the plain one. It may be a shorter one: the step budget gives up on
    // some pages that the engine alone would finish after millions of steps (a value with
    // thousands of backslashes in a row), which is the price of a bounded search.
    const std::size_t common = std::min(plain->size(), matches.size());
    for (std::size_t i = 0; i < common; ++i)
      FUZZ_CHECK(sameMatch((*plain)[i], matches[i]));
    FUZZ_CHECK(matches.size() <= plain->size());
  }
  return 0;
}
