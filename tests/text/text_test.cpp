#include "text/text.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

struct FindCase {
  std::string text, what;
  std::size_t expected;
};

TEST(FindText, WalksTwoByteCharacters) {
  const FindCase cases[] = {
      {"abc", "c", 2},
      {"abc", "", 0},
      {"", "", kNotFound},
      {"abc", "abcd", kNotFound},
      {"aBc", "b", kNotFound},  // exact bytes
      // The 5C inside the two-byte character \x81\x5C is its second byte: no occurrence.
      {"\x81\x5C/", "\x5C/", kNotFound},
      {"\x81\x5C\x5C/", "\x5C/", 2},
      // A lead byte at the very end takes nothing after it and is still walked.
      {"a\xB0", "\xB0", 1},
      {"\xB0\xB0\xB0", "\xB0\xB0", 0},
      {"x\xB0\xB0\xB0", "\xB0\xB0", 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(findText(c.text, c.what), c.expected) << c.text << " / " << c.what;
  }
}

TEST(ReplaceFirst, ReplacesOnlyTheFirstOccurrenceOnABoundary) {
  Text t = "\x81\x5C\x5C/a\x5C\x5C/";
  EXPECT_TRUE(replaceFirst(t, "\x5C\x5C/", "/"));
  EXPECT_EQ(t, "\x81\x5C\x5C/a/");
  Text none = "abc";
  EXPECT_FALSE(replaceFirst(none, "x", "y"));
  EXPECT_EQ(none, "abc");
}

TEST(UpperCaseAscii, ChangesOnlyLowerCaseLetters) {
  EXPECT_EQ(upperCaseAscii("az09%\xE1\xFFzZ"), "AZ09%\xE1\xFFZZ");
}

TEST(TextFromBytes, KeepsTheBytesBeforeTheFirstNul) {
  EXPECT_EQ(textFromBytes(std::string("ab\0cd", 5)), "ab");
  EXPECT_EQ(textFromBytes(std::string("\0", 1)), "");
  EXPECT_EQ(textFromBytes("abc"), "abc");
}

}  // namespace
}  // namespace quorvane
