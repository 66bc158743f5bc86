// The Netdisk resolver: a share page's download address and file details, read from the
// page's escaped JSON with four patterns; the address loses its escaped slashes.
#pragma once

#include <string_view>

#include "resolve/page_fetch.h"
#include "resolve/result_fields.h"
#include "text/text.h"

namespace quorvane {

// As resolveKuaichuanPage, for a share page: the address cleaned of escaped slashes, the
// size narrowed to single precision before it is written.
Text resolveNetdiskShare(std::string_view link, ResultFields& fields);

// The same over page text already at hand: no fetch.
Text resolveNetdiskText(std::string_view pageText, ResultFields& fields);

// The address clean-up: the first "\\/\\/" becomes "//", then each "\\/", first
// occurrence first, becomes "/" until none is left (occurrences start on character
// boundaries only).
Text cleanNetdiskAddress(Text address);

}  // namespace quorvane
