#include "console/posix/terminal_signals.hpp"

#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>

#include "console/posix/terminal_owner.hpp"

namespace {

constexpr std::array<int, 4> ending_signals{SIGINT, SIGTERM, SIGHUP, SIGQUIT};

volatile std::sig_atomic_t ending_noted = 0;  // the signal's number
volatile std::sig_atomic_t stop_noted = 0;
volatile std::sig_atomic_t endings_held = 0;

void set_action(int signal_number, void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  // No SA_RESTART: a wait for input that a signal interrupts returns, and
  // the program acts on the signal there.
  action.sa_flags = 0;
  ::sigaction(signal_number, &action, nullptr);
}

// The signal with its own effect: ending tavoro, or stopping it until it
// is continued.
void take_default_effect(int signal_number) {
  set_action(signal_number, SIG_DFL);
  sigset_t just_this{};
  sigemptyset(&just_this);
  sigaddset(&just_this, signal_number);
  ::sigprocmask(SIG_UNBLOCK, &just_this, nullptr);
  ::raise(signal_number);
}

extern "C" void on_ending_signal(int signal_number) {
  ending_noted = signal_number;
  if (endings_held == 0) {
    give_terminal_back();
    take_default_effect(signal_number);
  }
}

extern "C" void on_stop_signal(int /*signal_number*/) {
  stop_noted = 1;
}

// Only to interrupt a wait for input, where tavoro then takes the terminal
// again.
extern "C" void on_continue_signal(int /*signal_number*/) {}

bool guarded(int signal_number) {
  struct sigaction found {};
  return ::sigaction(signal_number, nullptr, &found) == 0 && found.sa_handler != SIG_IGN &&
         found.sa_handler != SIG_DFL;
}

}  // namespace

void guard_terminal_against_signals() {
  const auto guard = [](int signal_number, void (*handler)(int)) {
    // A signal that whoever started tavoro chose to ignore (nohup, a
    // background job of a shell without job control) stays ignored.
    struct sigaction found {};
    if (::sigaction(signal_number, nullptr, &found) == 0 && found.sa_handler != SIG_IGN) {
      set_action(signal_number, handler);
    }
  };
  for (const int signal_number : ending_signals) {
    guard(signal_number, on_ending_signal);
  }
  guard(SIGTSTP, on_stop_signal);
  guard(SIGCONT, on_continue_signal);
}

void hold_ending_signals() {
  endings_held = 1;
}

void release_ending_signals() {
  endings_held = 0;
  act_on_signals();
}

void act_on_signals() {
  if (ending_noted != 0 && endings_held == 0) {
    give_terminal_back();
    take_default_effect(ending_noted);
  }
  if (stop_noted != 0 && endings_held == 0) {
    stop_noted = 0;
    const int saved_errno = errno;
    give_terminal_back();
    take_default_effect(SIGTSTP);  // stopped here until continued
    set_action(SIGTSTP, on_stop_signal);
    errno = saved_errno;
  }
  if (terminal_given_back() && !in_foreground()) {
    // Continued in the background (bg): an interactive program has nothing
    // to do there, and nothing of it may reach the shell's screen. Stopped
    // as a background job that writes to its terminal is, until fg
    // continues it; a group that no shell watches is not stopped, and goes
    // on with the terminal given back.
    ::kill(0, SIGTTOU);
  }
  take_terminal_again();
}

void unguard_terminal() {
  for (const int signal_number : ending_signals) {
    if (guarded(signal_number)) {
      set_action(signal_number, SIG_DFL);
    }
  }
  for (const int signal_number : {SIGTSTP, SIGCONT}) {
    if (guarded(signal_number)) {
      set_action(signal_number, SIG_DFL);
    }
  }
}
