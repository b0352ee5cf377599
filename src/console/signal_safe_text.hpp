#pragma once

#include <algorithm>
#include <array>
#include <atomic>
#include <csignal>
#include <cstddef>
#include <string_view>

// Text that a signal handler reads while the program may be changing it:
// the requests kept to be sent again after a stop, the line left unfinished
// on the screen. The program fills the one of two buffers that is not shown
// and then shows it with a single store, so a handler, which interrupts the
// program between two of its steps, always reads one whole text, the old or
// the new, never half of each.
template <std::size_t Capacity>
class SignalSafeText {
 public:
  // Replaces the text. One longer than Capacity is not kept at all: an
  // empty text is better than a cut control sequence or a cut character.
  void hold(std::string_view text) { fill(std::string_view{}, text); }

  // Adds text to the end of what is held; held whole, or emptied.
  void append(std::string_view text) { fill(held(), text); }

  // Safe in a signal handler.
  [[nodiscard]] std::string_view held() const {
    const Slot& slot = slots_.at(static_cast<std::size_t>(shown_));
    std::atomic_signal_fence(std::memory_order_acquire);
    return {slot.bytes.data(), slot.length};
  }

 private:
  struct Slot {
    std::array<char, Capacity> bytes{};
    std::size_t length = 0;
  };

  void fill(std::string_view head, std::string_view tail) {
    const int next = 1 - shown_;
    Slot& slot = slots_.at(static_cast<std::size_t>(next));
    const bool fits = head.size() + tail.size() <= Capacity;
    slot.length = fits ? head.size() + tail.size() : 0;
    if (fits) {
      std::copy(tail.begin(), tail.end(), std::copy(head.begin(), head.end(), slot.bytes.begin()));
    }
    std::atomic_signal_fence(std::memory_order_release);
    shown_ = next;
  }

  std::array<Slot, 2> slots_{};
  volatile std::sig_atomic_t shown_ = 0;
};
