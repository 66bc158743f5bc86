#include "resolve/pattern.h"

#include <boost/regex.hpp>

#include <cstddef>
#include <limits>
#include <string>
#include <utility>

#include "resolve/search_budget.h"

namespace quorvane {

struct Pattern::Compiled {
  boost::regex expression;
};

namespace {

// Offsets are held in 32 bits; a page is capped far below this, and a match that would end
// past it ends the list instead of wrapping.
constexpr std::ptrdiff_t kMaxOffset = std::numeric_limits<int32_t>::max();

// One search over [first, last), which the engine takes for the whole text: "^", "\b" and
// look-behind see nothing before `first`. The engine signals a search it abandons, past its
// own limits or past `budget`, by throwing.
bool searchRange(const boost::regex& expression, StepIterator first, StepIterator last,
                 boost::match_results<StepIterator>& found) {
  return boost::regex_search(first, last, found, expression, boost::match_default);
}

// Calls visit(match) for each match in `text`, left to right, each search starting where the
// previous whole match ended. Ends at the first search that finds nothing or that is
// abandoned; no exception leaves it. All searches of one text share one budget, so the
// whole walk costs at most a fixed number of steps per byte.
template <class Visit>
void forEachMatch(const boost::regex& expression, std::string_view text, Visit&& visit) {
  if (text.empty())
    return;
  SearchBudget budget(text.size());
  const char* const begin = text.data();
  const StepIterator end(begin + text.size(), &budget);
  StepIterator from(begin, &budget);
  boost::match_results<StepIterator> found;
  PatternMatch match;
  try {
    while (searchRange(expression, from, end, found)) {
      // Offsets come from the iterators, not from position(), which counts from `from`.
      const std::ptrdiff_t wholeStart = found[0].first.get() - begin;
      const std::ptrdiff_t wholeEnd = found[0].second.get() - begin;
      if (wholeEnd > kMaxOffset)
        return;
      match.assign(found.size(), MatchGroup{});
      for (std::size_t i = 0; i < found.size(); ++i) {
        if (!found[i].matched)
          continue;
        match[i].matched = true;
        match[i].start = static_cast<int32_t>(found[i].first.get() - begin);
        match[i].length = static_cast<int32_t>(found[i].second.get() - found[i].first.get());
      }
      visit(match);
      if (wholeEnd > wholeStart) {
        from = StepIterator(begin + wholeEnd, &budget);
      } else if (begin + wholeEnd < end.get()) {
        // An empty match would be found again at the same place: step over one byte.
        from = StepIterator(begin + wholeEnd + 1, &budget);
      } else {
        return;
      }
    }
  } catch (...) {
    // Abandoned (SearchAbandoned past the budget; std::runtime_error past the engine's
    // own complexity limit; regex_error, bad_alloc): the matches already visited stand.
  }
}

}  // namespace

Pattern::Pattern() = default;
Pattern::~Pattern() = default;
Pattern::Pattern(Pattern&&) noexcept = default;
Pattern& Pattern::operator=(Pattern&&) noexcept = default;

bool Pattern::compile(std::string_view patternText) {
  compiled_.reset();
  const std::string source(patternText.substr(0, patternText.find('\0')));
  try {
    auto compiled = std::make_unique<Compiled>();
    // Perl syntax as the engine defines it already makes "." match CR and LF and lets "^"
    // and "$" match at line breaks; no flag may turn either off.
    compiled->expression.assign(source, boost::regex::perl);
    compiled_ = std::move(compiled);
    return true;
  } catch (...) {
    return false;
  }
}

std::vector<PatternMatch> Pattern::findAll(std::string_view text) const {
  std::vector<PatternMatch> matches;
  if (!compiled_)
    return matches;
  forEachMatch(compiled_->expression, text,
               [&matches](const PatternMatch& match) { matches.push_back(match); });
  return matches;
}

PatternMatch Pattern::findLast(std::string_view text) const {
  PatternMatch last;
  if (!compiled_)
    return last;
  forEachMatch(compiled_->expression, text, [&last](const PatternMatch& match) { last = match; });
  return last;
}

Text groupText(const PatternMatch& match, std::string_view text, int group) {
  if (group < 0 || static_cast<std::size_t>(group) >= match.size())
    return {};
  const MatchGroup& found = match[static_cast<std::size_t>(group)];
  if (!found.matched || found.length < 1 || found.start < 0)
    return {};
  const auto start = static_cast<std::size_t>(found.start);
  const auto length = static_cast<std::size_t>(found.length);
  if (start > text.size() || length > text.size() - start)
    return {};
  return Text(text.substr(start, length));
}

Text lastCapture(Pattern& pattern, std::string_view patternText, std::string_view text) {
  pattern.compile(patternText);
  // Group 1 of each match in turn would replace the one before; only the last one stays.
  return groupText(pattern.findLast(text), text, 1);
}

}  // namespace quorvane
