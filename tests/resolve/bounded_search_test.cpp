// The search's own step budget must never change what is found on pages the engine can
// search to the end: Pattern is compared match for match with the engine searched plainly,
// over generated pages of both services. And a hostile page must end with the matches
// found before the search gave up.
#include <gtest/gtest.h>

#include <boost/regex.hpp>
#include <random>
#include <string>
#include <vector>

#include "resolve/page_walk.h"
#include "resolve/pattern.h"

namespace quorvane {
namespace {

// The engine alone: the same walk as findAll, over plain pointers, with no budget.
std::vector<PatternMatch> plainFindAll(std::string_view patternText, std::string_view text) {
  std::vector<PatternMatch> matches;
  const boost::regex expression(std::string(patternText), boost::regex::perl);
  const char* const begin = text.data();
  const char* const end = begin + text.size();
  const char* from = begin;
  boost::cmatch found;
  while (from != end && boost::regex_search(from, end, found, expression, boost::match_default)) {
    PatternMatch match(found.size());
    for (std::size_t i = 0; i < found.size(); ++i) {
      if (!found[i].matched)
        continue;
      match[i] = {true, static_cast<int32_t>(found[i].first - begin),
                  static_cast<int32_t>(found[i].second - found[i].first)};
    }
    matches.push_back(match);
    from = found[0].second != found[0].first ? found[0].second : found[0].second + 1;
    if (from > end)
      break;
  }
  return matches;
}

// Pages as the services write them, several files each, with long values, CR LF, bytes of
// the local code page's two-byte characters, and stray pieces of the markup in between.
class PageMaker {
 public:
  explicit PageMaker(unsigned seed) : random_(seed) {}

  // A page of one to twelve files.
  std::string page() { return page(pick(1, 12)); }

  // A page of at least `bytes`. At 12 MiB the budget's floor is no help: it is the
  // per-byte allowance that must cover every search.
  std::string largePage(std::size_t bytes) {
    std::string large;
    while (large.size() < bytes)
      large += page(50);
    return large;
  }

 private:
  std::string page(int files) {
    std::string page;
    for (int i = 0; i < files; ++i) {
      page += noise(pick(0, 400));
      page += pick(0, 1) ? kuaichuanFile() : netdiskFile();
    }
    page += noise(pick(0, 400));
    return page;
  }

  int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

  std::string value(int maxBytes) {
    static const std::string pieces[] = {"a",     "Z",        "0",        "9",     "/",
                                         "\\\\/", "%E6",      "&amp;",    "\r\n",  " ",
                                         "=",     "\xB0\xA1", "\xCE\xC4", "\x81\\"};
    std::string v;
    const int n = pick(0, maxBytes);
    while (static_cast<int>(v.size()) < n)
      v += pieces[pick(0, 13)];
    return v;
  }

  std::string noise(int bytes) {
    static const std::string pieces[] = {
        "<p>", "</p>\r\n", "file_url=", "\"",    "'",        "\\\"", " file_size", "value=",
        "key", "size",     "md5",       "dlink", "filename", "}",    "\xD6\xD0",   "x"};
    std::string n;
    while (static_cast<int>(n.size()) < bytes)
      n += pieces[pick(0, 15)];
    return n;
  }

  std::string kuaichuanFile() {
    return "<a file_url=\"" + value(3000) + "\" file_size=\"" + value(10) + "\" file_name=\"" +
           value(200) + "\">\r\n<input id=\"first_file_size\" value='" + value(12) +
           "'>\r\n<input id=\"key\" value='" + value(40) + "'>\r\n";
  }

  std::string netdiskFile() {
    return "{\\\"md5\\\":\\\"" + value(40) + "\\\",\\\"size\\\":\\\"" + value(12) +
           "\\\",\\\"dlink\\\":\\\"http:\\\\/\\\\/" + value(3000) + "&filename=" + value(200) +
           "\\\"}\r\n";
  }

  std::mt19937 random_;
};

const std::string_view kPatterns[] = {kKuaichuanPage.addressPattern, kKuaichuanPage.namePattern,
                                      kKuaichuanPage.sizePattern,    kKuaichuanPage.md5Pattern,
                                      kNetdiskPage.addressPattern,   kNetdiskPage.namePattern,
                                      kNetdiskPage.sizePattern,      kNetdiskPage.md5Pattern};

// Compares every pattern over `page`; returns how many matches were compared.
std::size_t expectSameMatches(const std::string& page, const std::string& what) {
  Pattern pattern;
  std::size_t compared = 0;
  for (const std::string_view patternText : kPatterns) {
    EXPECT_TRUE(pattern.compile(patternText));
    const std::vector<PatternMatch> expected = plainFindAll(patternText, page);
    EXPECT_EQ(pattern.findAll(page), expected) << what << ", pattern " << patternText;
    compared += expected.size();
  }
  return compared;
}

TEST(BoundedSearch, FindsExactlyWhatThePlainEngineFinds) {
  PageMaker maker(20261211);
  std::size_t compared = 0;
  for (int i = 0; i < 150; ++i) {
    compared += expectSameMatches(maker.page(), "page " + std::to_string(i));
  }
  EXPECT_GT(compared, 1000u);  // the pages do hold matches of every kind
}

TEST(BoundedSearch, LargePagesFindExactlyWhatThePlainEngineFinds) {
  PageMaker maker(7);
  expectSameMatches(maker.largePage(12u << 20), "large page");
}

TEST(BoundedSearch, SmallPathologicalPagesAreSearchedToTheEnd) {
  // At every backslash of the run, the closing "\\+" takes the rest of the run and gives
  // it back byte by byte: millions of steps on a page of a few kilobytes, which the
  // engine alone still finishes.
  const std::string backslashes(1500, '\\');
  const std::pair<std::string_view, std::string> cases[] = {
      {kNetdiskPage.namePattern, "filename=" + backslashes + "x\\\""},
      {kNetdiskPage.addressPattern, "dlink\\\":\\\"" + backslashes + "x\\\"}"},
  };
  for (const auto& [patternText, page] : cases) {
    expectSameMatches(page, std::string(patternText));
    Pattern pattern;
    ASSERT_TRUE(pattern.compile(patternText));
    EXPECT_EQ(pattern.findAll(page).size(), 1u) << patternText;
  }
}

TEST(BoundedSearch, AHostilePageEndsWithTheMatchesBeforeIt) {
  // One good value, then a value opened again and again and never closed: the engine
  // alone would try each opening against the rest of the page, quadratic in its size.
  std::string page = "file_url=\"http://a/b\" file_size=1 ";
  while (page.size() < (4u << 20))
    page += "file_url=\"";
  Pattern pattern;
  ASSERT_TRUE(pattern.compile(kKuaichuanPage.addressPattern));
  const std::vector<PatternMatch> matches = pattern.findAll(page);
  ASSERT_EQ(matches.size(), 1u);
  EXPECT_EQ(groupText(matches[0], page, 1), "http://a/b");
}

}  // namespace
}  // namespace quorvane
