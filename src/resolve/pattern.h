// A compiled regular expression over page text and the matches it finds, left to right
// and never overlapping; the resolvers take group 1 of the last match of each pattern.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "text/text.h"

namespace quorvane {

struct MatchGroup {
  bool matched = false;  // whether the group took part in the match
  int32_t start = 0;     // 0-based offset in the searched text; meaningful when matched
  int32_t length = 0;

  bool operator==(const MatchGroup&) const = default;
};

// Entry 0 is the whole match, entries 1..n the groups in order of their "(".
using PatternMatch = std::vector<MatchGroup>;

// Holds at most one compiled expression: Perl syntax, case-sensitive, "." matching every
// byte, "^" and "$" matching at line breaks too.
class Pattern {
 public:
  Pattern();
  ~Pattern();
  Pattern(Pattern&&) noexcept;
  Pattern& operator=(Pattern&&) noexcept;

  // Compiles `patternText` up to its first NUL, replacing the expression held before.
  // False, holding nothing, when the engine rejects it.
  bool compile(std::string_view patternText);

  // Every match in `text`: each search starts where the previous whole match ended and
  // treats that point as the start of the text. Empty for an empty text or when nothing
  // is compiled. When the engine abandons a search, the matches found before it.
  std::vector<PatternMatch> findAll(std::string_view text) const;

  // The last entry findAll would return, without holding the list: empty when there is
  // none. A page with millions of matches thus costs no memory beyond the page.
  PatternMatch findLast(std::string_view text) const;

 private:
  struct Compiled;
  std::unique_ptr<Compiled> compiled_;
};

// The bytes of group `group` of `match`, cut from the text it was found in; empty when
// the group did not take part or is empty.
Text groupText(const PatternMatch& match, std::string_view text, int group);

// Compiles `patternText` into `pattern` and returns group 1 of the last match in `text`,
// or the empty text when nothing matched.
Text lastCapture(Pattern& pattern, std::string_view patternText, std::string_view text);

}  // namespace quorvane
