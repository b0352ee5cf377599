#include "console/posix/terminal_signals.hpp"

#include <cerrno>
#include <csignal>

#include "console/posix/terminal_state.hpp"

namespace {

void set_action(int signal_number, void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  // A read or write that the stop interrupted goes on where it was.
  action.sa_flags = SA_RESTART;
  ::sigaction(signal_number, &action, nullptr);
}

// The signal again, with its own effect, from inside its handler.
void take_default_effect(int signal_number) {
  set_action(signal_number, SIG_DFL);
  sigset_t just_this{};
  sigemptyset(&just_this);
  sigaddset(&just_this, signal_number);
  ::sigprocmask(SIG_UNBLOCK, &just_this, nullptr);
  ::raise(signal_number);
}

extern "C" void on_ending_signal(int signal_number) {
  give_terminal_back();
  take_default_effect(signal_number);
}

extern "C" void on_stop_signal(int signal_number) {
  const int saved_errno = errno;
  give_terminal_back();
  take_default_effect(signal_number);  // stopped here until continued
  set_action(signal_number, on_stop_signal);
  take_terminal_again();
  errno = saved_errno;
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
  for (const int signal_number : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
    guard(signal_number, on_ending_signal);
  }
  guard(SIGTSTP, on_stop_signal);
}
