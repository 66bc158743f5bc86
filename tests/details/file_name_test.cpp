#include "details/file_name.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/code_page.h"

namespace quorvane {
namespace {

struct NameCase {
  const char* captured;
  std::string decoded;
};

class FileNameTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(setLocalCodePage("936")); }
  void TearDown() override { setLocalCodePage("65001"); }
};

TEST_F(FileNameTest, DecodesNamesIntoCodePage936) {
  const NameCase cases[] = {
      {"readme.txt", "readme.txt"},
      {"%E6%96%87%E4%BB%B6.txt", "\xCE\xC4\xBC\xFE.txt"},
      {"%E6%96%87%E4%BB%B6", "\xCE\xC4\xBC\xFE"},
      {"%e6%96%87%e4%bb%b6.txt", "\xCE\xC4\xBC\xFE.txt"},
      {"a+b.txt", "a+b.txt"},
      {"a%20b.txt", "a b.txt"},
      {"a%00b.txt", "ab.txt"},
      {"%2541.txt", "%41.txt"},
      {"abc%", "abc"},
      {"abc%0", "abc"},
      {"abc%4", "abc\x40"},
      {"%4G.txt", "\x3E.txt"},
      {"%zz.txt", "?.txt"},
      {"%G4.txt", "?.txt"},
      {"%%41.txt", "?1.txt"},
      {"%CE%C4.txt", "??.txt"},
      {"", ""},
  };
  for (const NameCase& c : cases) {
    EXPECT_EQ(decodeFileName(c.captured), c.decoded) << c.captured;
  }
}

TEST_F(FileNameTest, DecodesNamesIntoUtf8) {
  ASSERT_TRUE(setLocalCodePage("65001"));
  // Under UTF-8 the replacement character itself is representable, so it stays.
  const NameCase cases[] = {
      {"readme.txt", "readme.txt"},
      {"%E6%96%87%E4%BB%B6.txt", "文件.txt"},
      {"%E6%96%87%E4%BB%B6", "文件"},
      {"%e6%96%87%e4%bb%b6.txt", "文件.txt"},
      {"a+b.txt", "a+b.txt"},
      {"a%20b.txt", "a b.txt"},
      {"a%00b.txt", "ab.txt"},
      {"%2541.txt", "%41.txt"},
      {"abc%", "abc"},
      {"abc%4", "abc\x40"},
      {"%4G.txt", "\x3E.txt"},
      {"%zz.txt", "\uFFFD.txt"},
      {"%G4.txt", "\uFFFD.txt"},
      {"%%41.txt",
       "\uFFFD"
       "1.txt"},
      {"%CE%C4.txt", "\uFFFD\uFFFD.txt"},
      {"", ""},
  };
  for (const NameCase& c : cases) {
    EXPECT_EQ(decodeFileName(c.captured), c.decoded) << c.captured;
  }
}

TEST_F(FileNameTest, NameEndsAtItsFirstNul) {
  // Bytes after a NUL are not part of the name, not even as the digits of an escape.
  EXPECT_EQ(decodeFileName(std::string("ab%4\0"
                                       "1",
                                       6)),
            "ab\x40");
  EXPECT_EQ(utf8ToLocalText(std::string("a\0b", 3)), "a");
}

TEST_F(FileNameTest, Utf16ToLocalTextKeepsTheWholeConvertedName) {
  EXPECT_EQ(utf16ToLocalText(u"\u6587\u4EF6.txt"), "\xCE\xC4\xBC\xFE.txt");
  EXPECT_EQ(utf16ToLocalText(u"\u0E01.txt"), "?.txt");  // no Thai in GBK
  EXPECT_EQ(utf16ToLocalText(u""), "");
  // Three bytes for each one-unit character: longer than twice the units, and not cut.
  ASSERT_TRUE(setLocalCodePage("65001"));
  EXPECT_EQ(utf16ToLocalText(u"\u6587\u4EF6"), "文件");
}

}  // namespace
}  // namespace quorvane
