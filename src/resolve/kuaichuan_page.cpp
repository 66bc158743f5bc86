#include "resolve/kuaichuan_page.h"

#include "resolve/page_walk.h"

namespace quorvane {

namespace {

// The file page's markup: `file_url="…" file_size=`, `file_name="…"`, and two inputs whose
// values are quoted with single quotes. "\x22" is the pattern syntax's double quote.
constexpr std::string_view kAddressPattern = R"re(file_url=\x22(.*?)(\x22 file_size=))re";
constexpr std::string_view kNamePattern = R"re(file_name=\x22(.*?)(\x22))re";
constexpr std::string_view kSizePattern = R"re(first_file_size\x22 value='(.*?)('>))re";
constexpr std::string_view kMd5Pattern = R"re(key\x22 value='(.*?)('>))re";
static_assert(kAddressPattern.size() == 35 && kNamePattern.size() == 25 &&
              kSizePattern.size() == 36 && kMd5Pattern.size() == 24);

}  // namespace

// The address and the size are taken as read.
constexpr ServicePage kKuaichuanPage{kAddressPattern, kNamePattern, kSizePattern, kMd5Pattern};

Text resolveKuaichuanText(std::string_view pageText, ResultFields& fields) {
  return resolvePageText(pageText, kKuaichuanPage, fields);
}

Text resolveKuaichuanPage(std::string_view link, ResultFields& fields) {
  return resolveKuaichuanText(fetchPageText(link), fields);
}

}  // namespace quorvane
