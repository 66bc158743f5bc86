#include "details/file_type.h"

namespace quorvane {
// Placeholder until the label table lands.
Text fileExtension(std::string_view name) { return Text(name.substr(name.size() < 3 ? 0 : name.size() - 3)); }
Text typeLabel(std::string_view extension) { return Text(extension); }
}  // namespace quorvane
