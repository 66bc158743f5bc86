#include "details/file_type.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <string>

#include "platform/code_page.h"

namespace quorvane {
namespace {

// UTF-8 to GBK through glibc's iconv, a route independent of the program's converters.
std::string gbk(const std::string& utf8) {
  iconv_t cd = iconv_open("GBK", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1))
    return "<no iconv GBK>";
  std::string in = utf8;
  std::string out(in.size() * 2 + 4, '\0');
  char* inPtr = in.data();
  char* outPtr = out.data();
  std::size_t inLeft = in.size();
  std::size_t outLeft = out.size();
  const std::size_t result = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  if (result == static_cast<std::size_t>(-1))
    return "<iconv failed>";
  out.resize(out.size() - outLeft);
  return out;
}

class FileTypeTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(setLocalCodePage("936")); }
  void TearDown() override { setLocalCodePage("65001"); }
};

TEST_F(FileTypeTest, ExtensionAndLabelOfDecodedNames) {
  struct Case {
    const char* name;
    const char* extension;
    std::string label;  // UTF-8 here, compared in GBK
  };
  const Case cases[] = {
      {"report.txt", "txt", "文本文档   (txt)"},
      {"data.rar", "rar", "winrar压缩包文件   (rar)"},
      {"setup.exe", "exe", "windows可执行文件   (exe)"},
      {"song.mp3", "mp3", "声音文件   (mp3)"},
      {"photo.JPG", "JPG", "JPG"},
      {"7z", "7z", "winrar压缩包文件   (7z)"},
      {"e", "e", "Zoltarn源码文件   (e)"},
      {"a.7z", ".7z", ".7z"},
      {"film.rmvb", "mvb", "mvb"},
      {"x.torrent", "ent", "ent"},
      {"ab", "ab", "ab"},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    const Text extension = fileExtension(c.name);
    EXPECT_EQ(extension, c.extension) << c.name;
    EXPECT_EQ(typeLabel(extension), gbk(c.label)) << c.name;
  }
}

TEST_F(FileTypeTest, EveryRowHasItsOwnPrefix) {
  // One entry of each row that the name table above does not reach, given whole:
  // typeLabel itself knows entries of any length.
  const std::pair<const char*, std::string> cases[] = {
      {"jpg", "图形图像文件   (jpg)"},
      {"iso", "光盘映像文件   (iso)"},
      {"doc", "Microsoft Office Word 2003文档   (doc)"},
      {"rm", "媒体视频文件   (rm)"},
      {"torrent", "迅雷bt种子文件   (torrent)"},
  };
  for (const auto& [extension, label] : cases) {
    EXPECT_EQ(typeLabel(extension), gbk(label)) << extension;
  }
  // Two rows spelled out in GBK bytes, in case iconv and the program agree on a mistake.
  EXPECT_EQ(typeLabel("txt"), "\xCE\xC4\xB1\xBE\xCE\xC4\xB5\xB5   (txt)");
  EXPECT_EQ(typeLabel("torrent"),
            "\xD1\xB8\xC0\xD7"
            "bt\xD6\xD6\xD7\xD3\xCE\xC4\xBC\xFE   (torrent)");
}

TEST_F(FileTypeTest, ExtensionCountsBytesNotCharacters) {
  // 文件 in GBK: the last three bytes begin with the second byte of 文.
  EXPECT_EQ(fileExtension("\xCE\xC4\xBC\xFE"), "\xC4\xBC\xFE");
  EXPECT_EQ(typeLabel("TXT"), "TXT");
}

TEST_F(FileTypeTest, LabelsReadAsUtf8UnderUtf8) {
  ASSERT_TRUE(setLocalCodePage("65001"));
  EXPECT_EQ(typeLabel("txt"), "文本文档   (txt)");
  EXPECT_EQ(typeLabel("e"), "Zoltarn源码文件   (e)");
}

}  // namespace
}  // namespace quorvane
