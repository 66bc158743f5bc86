// The Kuaichuan resolver: a file page's download address and file details, read from the
// page markup with four patterns.
#pragma once

#include <string_view>

#include "resolve/page_fetch.h"
#include "resolve/result_fields.h"
#include "text/text.h"

namespace quorvane {

// Fetches the page behind `link`, sets the file name, extension (type label), size text
// and MD5 of `fields` in that order, empty ones included, and returns the download
// address (empty when the page holds none).
Text resolveKuaichuanPage(std::string_view link, ResultFields& fields);

// The same over page text already at hand: no fetch.
Text resolveKuaichuanText(std::string_view pageText, ResultFields& fields);

}  // namespace quorvane
