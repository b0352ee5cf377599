#pragma once

#include <array>
#include <atomic>
#include <csignal>
#include <cstddef>
#include <string_view>

// Text that a signal handler reads while the program may be changing it:
// the give-back prepared for the signals that end tavoro. The program fills
// the one of two buffers that is not shown and then shows it with a single
// store, fenced, so a handler, which interrupts the program between two of
// its steps, always reads one whole text, the old or the new, never half
// of each.
template <std::size_t Capacity>
class SignalSafeText {
 public:
  // Replaces the text. One longer than Capacity is not kept at all: an
  // empty text is better than a cut control sequence or a cut character.
  void hold(std::string_view text) {
    const int next = 1 - shown_;
    Slot& slot = slots_.at(static_cast<std::size_t>(next));
    slot.length = text.size() <= Capacity ? text.size() : 0;
    for (std::size_t index = 0; index < slot.length; ++index) {
      slot.bytes.at(index) = text[index];
    }
    std::atomic_signal_fence(std::memory_order_release);
    shown_ = next;
  }

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

  std::array<Slot, 2> slots_{};
  volatile std::sig_atomic_t shown_ = 0;
};
