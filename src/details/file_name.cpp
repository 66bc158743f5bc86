#include "details/file_name.h"

namespace quorvane {
// Placeholder until the decoding lands.
Text decodeFileName(std::string_view name) { return Text(name); }
Text utf8ToLocalText(std::string_view run) { return Text(run); }
Text utf16ToLocalText(std::u16string_view) { return {}; }
}  // namespace quorvane
