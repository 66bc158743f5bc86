// A search's own complexity limit: the engine walks the page through StepIterator, which
// counts every byte it steps over and abandons the search once the budget is spent. The
// budget grows linearly with the page, so no page, however hostile, costs more than a
// fixed number of steps per byte.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>

namespace quorvane {

// Thrown out of the engine when a budget runs out; the engine unwinds and rethrows it.
struct SearchAbandoned {};

// Steps allowed for all the searches of one text: kStepsPerByte for each byte, and never
// less than a floor. Well-formed pages take about one step per byte for each pattern, so
// the allowance is twice what they need; a hostile page (a value opened again and again and
// never closed) would take one step per byte for every opening before it. The floor lets
// pages of up to a few megabytes be searched as the engine alone would search them,
// pathological ones included (a value holding a run of two thousand backslashes costs the
// engine millions of steps); spent in full, it takes a fifth of a second at most.
struct SearchBudget {
  static constexpr std::int64_t kStepsPerByte = 2;
  static constexpr std::int64_t kFloor = std::int64_t{1} << 23;

  explicit SearchBudget(std::size_t textBytes)
      : left(std::max(kFloor, kStepsPerByte * static_cast<std::int64_t>(textBytes))) {}

  void spend(std::int64_t steps) {
    left -= steps;
    if (left < 0) [[unlikely]]
      abandon();
  }

  [[noreturn, gnu::noinline, gnu::cold]] static void abandon() { throw SearchAbandoned{}; }

  std::int64_t left;
};

// A random-access iterator over bytes that charges each move to a SearchBudget. Being
// random-access keeps the engine's own limits and fast paths what they are for pointers.
class StepIterator {
 public:
  using iterator_category = std::random_access_iterator_tag;
  using value_type = char;
  using difference_type = std::ptrdiff_t;
  using pointer = const char*;
  using reference = const char&;

  StepIterator() = default;
  StepIterator(const char* at, SearchBudget* budget) : at_(at), budget_(budget) {}

  const char* get() const { return at_; }

  reference operator*() const { return *at_; }
  reference operator[](difference_type n) const { return at_[n]; }

  StepIterator& operator++() {
    budget_->spend(1);
    ++at_;
    return *this;
  }
  StepIterator operator++(int) {
    StepIterator before = *this;
    ++*this;
    return before;
  }
  StepIterator& operator--() {
    budget_->spend(1);
    --at_;
    return *this;
  }
  StepIterator operator--(int) {
    StepIterator before = *this;
    --*this;
    return before;
  }
  StepIterator& operator+=(difference_type n) {
    budget_->spend(n < 0 ? -n : n);
    at_ += n;
    return *this;
  }
  StepIterator& operator-=(difference_type n) { return *this += -n; }

  friend StepIterator operator+(StepIterator i, difference_type n) { return i += n; }
  friend StepIterator operator+(difference_type n, StepIterator i) { return i += n; }
  friend StepIterator operator-(StepIterator i, difference_type n) { return i -= n; }
  friend difference_type operator-(const StepIterator& a, const StepIterator& b) {
    return a.at_ - b.at_;
  }
  friend bool operator==(const StepIterator& a, const StepIterator& b) { return a.at_ == b.at_; }
  friend auto operator<=>(const StepIterator& a, const StepIterator& b) { return a.at_ <=> b.at_; }

 private:
  const char* at_ = nullptr;
  SearchBudget* budget_ = nullptr;
};

}  // namespace quorvane
