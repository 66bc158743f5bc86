// decodeFileName over any captured name, under code page 936 and UTF-8: the result is a
// Text (no NUL), and a plain ASCII name without "%" comes back as it was.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "details/file_name.h"
#include "fuzz_check.h"
#include "platform/code_page.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0)
    return 0;
  quorvane::setLocalCodePage(data[0] & 1 ? "936" : "65001");
  // A captured name is page text: it ends at the first NUL.
  std::string_view name(reinterpret_cast<const char*>(data + 1), size - 1);
  name = name.substr(0, name.find('\0'));

  const quorvane::Text decoded = quorvane::decodeFileName(name);
  FUZZ_CHECK(decoded.find('\0') == quorvane::Text::npos);

  bool plain = true;
  for (const char c : name) {
    if (static_cast<unsigned char>(c) >= 0x80 || c == '%')
      plain = false;
  }
  if (plain)
    FUZZ_CHECK(decoded == name);
  return 0;
}
