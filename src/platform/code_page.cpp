#include "platform/code_page.h"

#include <langinfo.h>
#include <unicode/ucnv.h>
#include <unicode/ucnv_err.h>

#include <clocale>
#include <memory>

namespace quorvane {
namespace {

struct ConverterCloser {
  void operator()(UConverter* c) const { ucnv_close(c); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

// Windows' numeric code page names, as the tools and tests spell them.
std::string icuNameFor(std::string_view name) {
  if (name == "936")
    return "GBK";
  if (name == "65001")
    return "UTF-8";
  return std::string(name);
}

// Opens a converter whose from-Unicode substitution is "?" and whose to-Unicode
// substitution is U+FFFD, whatever the converter's own defaults are.
Converter openConverter(const std::string& icuName) {
  UErrorCode status = U_ZERO_ERROR;
  Converter c(ucnv_open(icuName.c_str(), &status));
  if (U_FAILURE(status) || !c)
    return nullptr;  // a warning (an alias, say) is no failure
  status = U_ZERO_ERROR;
  ucnv_setSubstChars(c.get(), "?", 1, &status);
  status = U_ZERO_ERROR;
  ucnv_setToUCallBack(c.get(), UCNV_TO_U_CALLBACK_SUBSTITUTE, nullptr, nullptr, nullptr, &status);
  status = U_ZERO_ERROR;
  ucnv_setFromUCallBack(c.get(), UCNV_FROM_U_CALLBACK_SUBSTITUTE, nullptr, nullptr, nullptr,
                        &status);
  return c;
}

Converter& localConverter() {
  static Converter converter;
  return converter;
}

Converter& utf8Converter() {
  static Converter converter = openConverter("UTF-8");
  return converter;
}

UConverter* local() {
  Converter& c = localConverter();
  if (!c) {
    c = openConverter(icuNameFor(systemCodePageName()));
    if (!c)
      c = openConverter("UTF-8");
  }
  return c.get();
}

std::u16string toUtf16(UConverter* c, std::string_view bytes) {
  if (bytes.empty())
    return {};
  ucnv_resetToUnicode(c);
  // A byte never gives more than two UTF-16 units.
  std::u16string units(bytes.size() * 2, u'\0');
  UErrorCode status = U_ZERO_ERROR;
  const int32_t n =
      ucnv_toUChars(c, reinterpret_cast<UChar*>(units.data()), static_cast<int32_t>(units.size()),
                    bytes.data(), static_cast<int32_t>(bytes.size()), &status);
  if (U_FAILURE(status))
    return {};
  units.resize(static_cast<std::size_t>(n));
  return units;
}

std::string fromUtf16(UConverter* c, std::u16string_view units) {
  if (units.empty())
    return {};
  ucnv_resetFromUnicode(c);
  std::string bytes(units.size() * static_cast<std::size_t>(ucnv_getMaxCharSize(c)) + 8, '\0');
  UErrorCode status = U_ZERO_ERROR;
  const auto convert = [&] {
    return ucnv_fromUChars(c, bytes.data(), static_cast<int32_t>(bytes.size()),
                           reinterpret_cast<const UChar*>(units.data()),
                           static_cast<int32_t>(units.size()), &status);
  };
  int32_t n = convert();
  if (status == U_BUFFER_OVERFLOW_ERROR) {  // stateful encodings may add shift bytes
    ucnv_resetFromUnicode(c);
    bytes.resize(static_cast<std::size_t>(n));
    status = U_ZERO_ERROR;
    n = convert();
  }
  if (U_FAILURE(status))
    return {};
  bytes.resize(static_cast<std::size_t>(n));
  return bytes;
}

}  // namespace

std::string systemCodePageName() {
  static const std::string name = [] {
    // Read the environment's locale without leaving it set: number formatting elsewhere
    // must not start writing decimal commas because of this look.
    const std::string saved = std::setlocale(LC_CTYPE, nullptr);
    std::string codeset = "UTF-8";
    if (std::setlocale(LC_CTYPE, "") != nullptr)
      codeset = nl_langinfo(CODESET);
    std::setlocale(LC_CTYPE, saved.c_str());
    if (codeset == "ANSI_X3.4-1968" || codeset.empty())
      codeset = "UTF-8";
    return codeset;
  }();
  return name;
}

bool setLocalCodePage(std::string_view name) {
  Converter c = openConverter(icuNameFor(name));
  if (!c)
    return false;
  localConverter() = std::move(c);
  return true;
}

std::string localCodePageName() {
  UErrorCode status = U_ZERO_ERROR;
  const char* name = ucnv_getName(local(), &status);
  return U_SUCCESS(status) && name ? name : "";
}

std::u16string utf8ToUtf16(std::string_view bytes) {
  return toUtf16(utf8Converter().get(), bytes);
}

std::string utf16ToLocal(std::u16string_view units) {
  return fromUtf16(local(), units);
}

std::u16string localToUtf16(std::string_view text) {
  return toUtf16(local(), text);
}

std::string utf16ToUtf8(std::u16string_view units) {
  return fromUtf16(utf8Converter().get(), units);
}

}  // namespace quorvane
