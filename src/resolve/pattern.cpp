#include "resolve/pattern.h"

namespace quorvane {
// Placeholder until the regex engine is wired in.
struct Pattern::Compiled {};
Pattern::Pattern() = default;
Pattern::~Pattern() = default;
Pattern::Pattern(Pattern&&) noexcept = default;
Pattern& Pattern::operator=(Pattern&&) noexcept = default;
bool Pattern::compile(std::string_view) { return false; }
std::vector<PatternMatch> Pattern::findAll(std::string_view) const { return {}; }
Text groupText(const PatternMatch&, std::string_view, int) { return {}; }
Text lastCapture(Pattern&, std::string_view, std::string_view) { return {}; }
}  // namespace quorvane
