#include "resolve/pattern.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace quorvane {
namespace {

// Each match as its whole text and group 1 ("-" when group 1 did not take part).
std::vector<std::pair<std::string, std::string>> texts(const std::vector<PatternMatch>& matches,
                                                       std::string_view text) {
  std::vector<std::pair<std::string, std::string>> out;
  for (const PatternMatch& match : matches) {
    const bool hasGroup = match.size() > 1 && match[1].matched;
    out.emplace_back(groupText(match, text, 0), hasGroup ? groupText(match, text, 1) : "-");
  }
  return out;
}

std::vector<std::pair<int32_t, int32_t>> spans(const std::vector<PatternMatch>& matches) {
  std::vector<std::pair<int32_t, int32_t>> out;
  for (const PatternMatch& match : matches)
    out.emplace_back(match[0].start, match[0].length);
  return out;
}

// A match as comparable values: (matched, start, length) of each group.
std::vector<std::tuple<bool, int32_t, int32_t>> groups(const PatternMatch& match) {
  std::vector<std::tuple<bool, int32_t, int32_t>> out;
  for (const MatchGroup& group : match)
    out.emplace_back(group.matched, group.start, group.length);
  return out;
}

std::vector<PatternMatch> findAll(std::string_view pattern, std::string_view text) {
  Pattern compiled;
  EXPECT_TRUE(compiled.compile(pattern)) << pattern;
  return compiled.findAll(text);
}

using Pairs = std::vector<std::pair<std::string, std::string>>;

struct MatchCase {
  const char* what;
  std::string pattern;
  std::string text;
  Pairs expected;
};

class FindAllTest : public testing::TestWithParam<MatchCase> {};

TEST_P(FindAllTest, FindsTheseMatches) {
  const MatchCase& c = GetParam();
  EXPECT_EQ(texts(findAll(c.pattern, c.text), c.text), c.expected) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, FindAllTest,
    testing::Values(
        MatchCase{"dot takes LF and CR", "a(.)b", "a\nb a\rb", {{"a\nb", "\n"}, {"a\rb", "\r"}}},
        MatchCase{"a lazy group runs across a CR LF",
                  R"(x=\x22(.*?)(\x22))",
                  "x=\"one\r\ntwo\"",
                  {{"x=\"one\r\ntwo\"", "one\r\ntwo"}}},
        MatchCase{"^ matches after a line break", "^(b)", "a\nb", {{"b", "b"}}},
        MatchCase{"$ matches before a line break", "(a)$", "a\nb", {{"a", "a"}}},
        MatchCase{"case-sensitive", "file_url=(.)", "FILE_URL=x File_url=y", {}},
        MatchCase{"\\x22 is a double quote", R"(\x22(.*?)\x22)", "say \"hi\"", {{"\"hi\"", "hi"}}},
        MatchCase{"each lazy match ends at the nearest terminator",
                  R"(k='(.*?)('>))",
                  "k='1'> k='2'>",
                  {{"k='1'>", "1"}, {"k='2'>", "2"}}},
        MatchCase{
            "no match begins inside the previous one", "aa", "aaaaa", {{"aa", "-"}, {"aa", "-"}}},
        MatchCase{"a later search treats its start as the start of the text",
                  "^a",
                  "aaa",
                  {{"a", "-"}, {"a", "-"}, {"a", "-"}}},
        MatchCase{"look-behind sees nothing before the search's start",
                  "x|(?<!x)(a)",
                  "xa",
                  {{"x", "-"}, {"a", "a"}}},
        MatchCase{
            "an unmatched group stays apart from an empty one", "(a)|(b?)c", "c", {{"c", "-"}}},
        MatchCase{"bytes of 0x80 and above are single bytes to the engine",
                  "\xCE(.)",
                  "\xCE\xC4\xCE\xC4",
                  {{"\xCE\xC4", "\xC4"}, {"\xCE\xC4", "\xC4"}}}),
    [](const testing::TestParamInfo<MatchCase>& info) {
      return "case" + std::to_string(info.index);
    });

TEST(FindAll, OffsetsCountFromTheStartOfTheWholeText) {
  const std::string text = "ab__ab__ab";
  const std::vector<PatternMatch> matches = findAll("a(b)", text);
  ASSERT_EQ(matches.size(), 3u);
  EXPECT_EQ(spans(matches), (std::vector<std::pair<int32_t, int32_t>>{{0, 2}, {4, 2}, {8, 2}}));
  EXPECT_EQ(matches[2][1].start, 9);
  EXPECT_EQ(matches[2][1].length, 1);
}

TEST(FindAll, EmptyMatchesStepOverOneByteAndEnd) {
  // After an empty match the next search starts one byte later; one at the very end is the
  // last match.
  EXPECT_EQ(spans(findAll("x*", "abc")),
            (std::vector<std::pair<int32_t, int32_t>>{{0, 0}, {1, 0}, {2, 0}, {3, 0}}));
  EXPECT_EQ(spans(findAll("a*", "baab")),
            (std::vector<std::pair<int32_t, int32_t>>{{0, 0}, {1, 2}, {3, 0}, {4, 0}}));
  // A match that reaches the end is followed by one more search, over the empty rest.
  EXPECT_EQ(spans(findAll("a*", "aa")), (std::vector<std::pair<int32_t, int32_t>>{{0, 2}, {2, 0}}));
}

TEST(FindAll, EmptyTextGivesNoMatchEvenForAPatternThatMatchesNothing) {
  EXPECT_TRUE(findAll("x*", "").empty());
}

TEST(FindAll, WithoutACompiledExpressionFindsNothing) {
  Pattern pattern;
  EXPECT_TRUE(pattern.findAll("abc").empty());
  EXPECT_TRUE(pattern.findLast("abc").empty());

  ASSERT_TRUE(pattern.compile("b"));
  EXPECT_FALSE(pattern.compile("(b"));  // rejected: the earlier expression is gone too
  EXPECT_TRUE(pattern.findAll("abc").empty());
}

TEST(FindAll, AbandonedSearchKeepsTheMatchesBeforeIt) {
  // The engine gives up on "(a|aa)*c" over a long run of "a" with no "c": a complexity
  // error, thrown as std::runtime_error. Two matches lie before the run.
  const std::string text = "ac aac " + std::string(2000, 'a');
  Pattern pattern;
  ASSERT_TRUE(pattern.compile("(a|aa)*c"));
  std::vector<PatternMatch> matches;
  ASSERT_NO_THROW(matches = pattern.findAll(text));
  EXPECT_EQ(spans(matches), (std::vector<std::pair<int32_t, int32_t>>{{0, 2}, {3, 3}}));
  EXPECT_EQ(groups(pattern.findLast(text)), groups(matches.back()));

  EXPECT_EQ(lastCapture(pattern, "(a*)*b", std::string(2000, 'a')), "");
}

TEST(FindAll, FindLastIsTheLastEntryOfFindAll) {
  Pattern pattern;
  ASSERT_TRUE(pattern.compile("v=(\\d*);"));
  for (const std::string text : {"", "none", "v=1;", "v=1; v=22; v=;", "v=1;v=2;v=333;"}) {
    const std::vector<PatternMatch> all = pattern.findAll(text);
    EXPECT_EQ(groups(pattern.findLast(text)), groups(all.empty() ? PatternMatch{} : all.back()))
        << text;
  }
}

TEST(Compile, TakesThePatternUpToItsFirstNul) {
  Pattern pattern;
  ASSERT_TRUE(pattern.compile(std::string_view("ab\0(", 4)));
  EXPECT_EQ(pattern.findAll("xab").size(), 1u);
}

TEST(GroupText, EmptyForGroupsThatDidNotTakePartOrAreEmptyOrDoNotExist) {
  const std::string text = "k=;";
  const std::vector<PatternMatch> matches = findAll("k=(x)?(.*?);", text);
  ASSERT_EQ(matches.size(), 1u);
  EXPECT_EQ(groupText(matches[0], text, 0), "k=;");
  EXPECT_FALSE(matches[0][1].matched);
  EXPECT_EQ(groupText(matches[0], text, 1), "");
  EXPECT_TRUE(matches[0][2].matched);
  EXPECT_EQ(groupText(matches[0], text, 2), "");
  EXPECT_EQ(groupText(matches[0], text, 3), "");
  EXPECT_EQ(groupText(matches[0], text, -1), "");
  // Offsets that do not fit the text give nothing rather than bytes from elsewhere.
  EXPECT_EQ(groupText(matches[0], "k", 0), "");
}

struct CaptureCase {
  const char* what;
  std::string text;
  std::string expected;
};

class LastCaptureTest : public testing::TestWithParam<CaptureCase> {};

TEST_P(LastCaptureTest, TakesGroupOneOfTheLastMatch) {
  const CaptureCase& c = GetParam();
  Pattern pattern;
  EXPECT_EQ(lastCapture(pattern, R"(name=\x22(.*?)(\x22))", c.text), c.expected) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, LastCaptureTest,
    testing::Values(CaptureCase{"three matches give the third", R"(name="a" name="b" name="c")",
                                "c"},
                    CaptureCase{"an empty last group wins over earlier values",
                                R"(name="a" name="b" name="")", ""},
                    CaptureCase{"a CR LF inside the value stays", "name=\"a\r\nb\"", "a\r\nb"},
                    CaptureCase{"capitals are another name", R"(NAME="a")", ""},
                    CaptureCase{"no terminator: no match", R"(name="a)", ""},
                    CaptureCase{"empty text", "", ""}),
    [](const testing::TestParamInfo<CaptureCase>& info) {
      return "case" + std::to_string(info.index);
    });

TEST(LastCapture, EachCallCompilesItsOwnPattern) {
  Pattern pattern;
  const std::string text = "a=1 b=2";
  EXPECT_EQ(lastCapture(pattern, "a=(.)", text), "1");
  EXPECT_EQ(lastCapture(pattern, "b=(.)", text), "2");
  EXPECT_EQ(lastCapture(pattern, "(", text), "");  // rejected: nothing is found
}

}  // namespace
}  // namespace quorvane
