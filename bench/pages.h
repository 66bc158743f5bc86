// Page texts for the benchmarks: well-formed pages of either service grown to a given size,
// and hostile pages built to make a pattern search run long.
#pragma once

#include <cstddef>
#include <string>

namespace quorvane::bench {

// One file's markup on a Kuaichuan file page.
inline std::string kuaichuanEntry() {
  return "<li><a file_url=\"http://dl.example.test/f/0123456789abcdef/%E6%96%87%E4%BB%B6.txt?k=1"
         "&amp;t=2\" file_size=\"123456\" file_name=\"%E6%96%87%E4%BB%B6.txt\">x</a>\r\n"
         "<input id=\"first_file_size\" value='123456'>\r\n"
         "<input id=\"key\" value='0123456789abcdef0123456789abcdef'>\r\n"
         "<p>Lorem ipsum dolor sit amet, consectetur adipiscing elit, sed do eiusmod "
         "tempor.</p>\r\n"
         "</li>\r\n";
}

// One file's record on a Netdisk share page, as escaped JSON inside a script.
inline std::string netdiskEntry() {
  return "yunData.FILEINFO = \"[{\\\"fs_id\\\":\\\"123\\\",\\\"md5\\\":\\\"0123456789abcdef"
         "0123456789abcdef\\\",\\\"size\\\":\\\"123456789\\\",\\\"path\\\":\\\"\\\\/a.txt\\\","
         "\\\"dlink\\\":\\\"http:\\\\/\\\\/d.example.test\\\\/file\\\\/abc?fid=1&filename="
         "%E6%96%87%E4%BB%B6.txt\\\"}]\";\r\n<p>Lorem ipsum dolor sit amet, consectetur.</p>\r\n";
}

// `entry` again and again until `bytes` is reached, then cut there.
inline std::string repeatedEntries(const std::string& entry, std::size_t bytes) {
  std::string page;
  page.reserve(bytes + entry.size());
  while (page.size() < bytes)
    page += entry;
  page.resize(bytes);
  return page;
}

inline std::string kuaichuanPage(std::size_t bytes) {
  return repeatedEntries(kuaichuanEntry(), bytes);
}

inline std::string netdiskPage(std::size_t bytes) {
  return repeatedEntries(netdiskEntry(), bytes);
}

// One value opened at the start and never closed.
inline std::string unclosedValue(const std::string& prefix, std::size_t bytes) {
  std::string page = prefix;
  page.resize(bytes, 'x');
  return page;
}

}  // namespace quorvane::bench
