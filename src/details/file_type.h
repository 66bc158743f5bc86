// The extension box: the last three bytes of a decoded name, and the label that names
// the kind of file for the extensions the program knows.
#pragma once

#include <string_view>

#include "text/text.h"

namespace quorvane {

// The last three bytes of `name` (bytes, not characters), or the whole of a shorter name.
Text fileExtension(std::string_view name);

// "<label prefix>" + extension + ")" for an extension listed in the label table (exact,
// case-sensitive), in the local code page; any other extension comes back unchanged.
// Since an extension is three bytes, the one- and two-byte entries ("e", "7z", "rm") only
// label names of exactly that length, and the longer ones ("rmvb", "torrent") none.
Text typeLabel(std::string_view extension);

}  // namespace quorvane
