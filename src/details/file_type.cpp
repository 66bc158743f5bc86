#include "details/file_type.h"

#include <array>
#include <string>
#include <vector>

#include "details/file_name.h"

namespace quorvane {
namespace {

struct LabelRow {
  std::vector<std::string_view> entries;
  std::string_view prefix;  // UTF-8; handed out in the local code page
};

// Kept in UTF-8 so that the source reads the same everywhere; converted on each call
// because the local code page may change between calls (the tests switch it).
const std::array<LabelRow, 10> kLabelRows{{
    {{"rar", "zip", "jar", "7z", "cab"}, "winrar压缩包文件   ("},
    {{"bmp", "jpg", "png", "gif", "ico"}, "图形图像文件   ("},
    {{"exe"}, "windows可执行文件   ("},
    {{"iso"}, "光盘映像文件   ("},
    {{"txt"}, "文本文档   ("},
    {{"e"}, "Zoltarn源码文件   ("},
    {{"doc"}, "Microsoft Office Word 2003文档   ("},
    {{"wav", "mp3", "aac", "wma"}, "声音文件   ("},
    {{"avi", "rm", "rmvb", "mpeg", "mp4"}, "媒体视频文件   ("},
    {{"torrent"}, "迅雷bt种子文件   ("},
}};

}  // namespace

Text fileExtension(std::string_view name) {
  const Text text = textFromBytes(std::string(name));
  return text.size() < 3 ? text : text.substr(text.size() - 3);
}

Text typeLabel(std::string_view extension) {
  Text t = textFromBytes(std::string(extension));
  // Every row sees the current t, labelled or not; a labelled t equals no entry, so at
  // most one row applies.
  for (const LabelRow& row : kLabelRows) {
    for (std::string_view entry : row.entries) {
      if (t == entry) {
        t = utf8ToLocalText(row.prefix) + t + ")";
        break;
      }
    }
  }
  return t;
}

}  // namespace quorvane
