#include "console/posix/terminal_signals.hpp"

#include <unistd.h>
#include <csignal>
#include <ctime>

#include <array>
#include <cerrno>
#include <csignal>

#include "console/posix/terminal_owner.hpp"

namespace {

constexpr std::array<int, 7> guarded_signals{SIGINT,  SIGTERM, SIGHUP,  SIGQUIT,
                                             SIGTSTP, SIGCONT, SIGWINCH};

volatile std::sig_atomic_t ending_noted = 0;  // the signal's number
volatile std::sig_atomic_t stop_noted = 0;
volatile std::sig_atomic_t continued_noted = 0;
volatile std::sig_atomic_t resize_noted = 0;
bool endings_held = false;
bool acting = false;

// The signal mask tavoro was started with: the one in force inside a wait.
sigset_t mask_in_wait{};
bool guarded_now = false;

void set_action(int signal_number, void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;
  ::sigaction(signal_number, &action, nullptr);
}

bool ignored(int signal_number) {
  struct sigaction found {};
  return ::sigaction(signal_number, nullptr, &found) == 0 && found.sa_handler == SIG_IGN;
}

bool guarded(int signal_number) {
  struct sigaction found {};
  return ::sigaction(signal_number, nullptr, &found) == 0 && found.sa_handler != SIG_IGN &&
         found.sa_handler != SIG_DFL;
}

extern "C" void on_ending_signal(int signal_number) {
  ending_noted = signal_number;
}

extern "C" void on_stop_signal(int /*signal_number*/) {
  stop_noted = 1;
}

extern "C" void on_continue_signal(int /*signal_number*/) {
  continued_noted = 1;
}

extern "C" void on_resize_signal(int /*signal_number*/) {
  resize_noted = 1;
}

// Lets the guarded signals that came while they were blocked be noted.
void note_signals_that_came() {
  sigset_t pending{};
  sigemptyset(&pending);
  ::sigpending(&pending);
  bool any = false;
  for (const int signal_number : guarded_signals) {
    any = any || sigismember(&pending, signal_number) == 1;
  }
  if (any && guarded_now) {
    sigset_t blocked{};
    ::sigprocmask(SIG_SETMASK, &mask_in_wait, &blocked);
    ::sigprocmask(SIG_SETMASK, &blocked, nullptr);
  }
}

// The signal with its own effect, here and now: ending tavoro, or stopping
// it until it is continued; then the handler again.
void take_default_effect(int signal_number, void (*handler)(int)) {
  set_action(signal_number, SIG_DFL);
  sigset_t just_this{};
  sigemptyset(&just_this);
  sigaddset(&just_this, signal_number);
  continued_noted = 0;
  ::raise(signal_number);
  ::sigprocmask(SIG_UNBLOCK, &just_this, nullptr);  // stopped or ended here
  ::sigprocmask(SIG_BLOCK, &just_this, nullptr);
  set_action(signal_number, handler);
}

// Whether tavoro's process group has the terminal of standard input or
// output, before the terminal's owner has noted it.
bool group_in_foreground() {
  const int descriptor = ::isatty(STDIN_FILENO) == 1 ? STDIN_FILENO : STDOUT_FILENO;
  const pid_t group = ::tcgetpgrp(descriptor);
  return group == -1 || group == ::getpgrp();
}

// Stops tavoro's process group as the terminal stops a background job that
// writes to it; false where it was not stopped (a group no shell watches,
// whose stops the system discards, or SIGTTOU ignored by whoever started
// tavoro).
bool stop_as_background_job() {
  if (ignored(SIGTTOU)) {
    return false;
  }
  continued_noted = 0;
  ::kill(0, SIGTTOU);
  note_signals_that_came();
  return continued_noted != 0;
}

}  // namespace

void wait_for_foreground() {
  if (::isatty(STDIN_FILENO) != 1 && ::isatty(STDOUT_FILENO) != 1) {
    return;
  }
  // Only the continuing is noted meanwhile; a kill while stopped ends
  // tavoro by the signal's own effect, with nothing of the terminal taken.
  struct sigaction found {};
  ::sigaction(SIGCONT, nullptr, &found);
  set_action(SIGCONT, on_continue_signal);
  while (!group_in_foreground() && stop_as_background_job()) {
  }
  ::sigaction(SIGCONT, &found, nullptr);
}

void guard_terminal_against_signals() {
  sigset_t blocked{};
  sigemptyset(&blocked);
  ::sigprocmask(SIG_BLOCK, nullptr, &mask_in_wait);
  for (const int signal_number : guarded_signals) {
    // A signal that whoever started tavoro chose to ignore (nohup, a
    // background job of a shell without job control) stays ignored.
    if (ignored(signal_number)) {
      continue;
    }
    const bool ending =
        signal_number != SIGTSTP && signal_number != SIGCONT && signal_number != SIGWINCH;
    set_action(signal_number, ending                      ? on_ending_signal
                              : signal_number == SIGTSTP  ? on_stop_signal
                              : signal_number == SIGWINCH ? on_resize_signal
                                                          : on_continue_signal);
    sigaddset(&blocked, signal_number);
    sigdelset(&mask_in_wait, signal_number);
  }
  ::sigprocmask(SIG_BLOCK, &blocked, nullptr);
  guarded_now = true;
}

int wait_for_descriptor(int fd, short events, int milliseconds) {
  pollfd ready{fd, events, 0};
  timespec limit{milliseconds / 1000, static_cast<long>(milliseconds % 1000) * 1000000L};
  return ::ppoll(&ready, 1, milliseconds < 0 ? nullptr : &limit,
                 guarded_now ? &mask_in_wait : nullptr);
}

void hold_ending_signals() {
  endings_held = true;
}

void release_ending_signals() {
  endings_held = false;
  act_on_signals();
}

void act_on_signals() {
  // A give-back that waits for its terminal may be interrupted: what came
  // then is acted on once it is done, here.
  if (acting) {
    return;
  }
  acting = true;
  const int saved_errno = errno;
  for (;;) {
    note_signals_that_came();
    if (ending_noted != 0 && !endings_held) {
      give_terminal_back();
      const int signal_number = ending_noted;
      unguard_terminal();
      take_default_effect(signal_number, SIG_DFL);
    }
    if (stop_noted != 0 && !endings_held) {
      stop_noted = 0;
      give_terminal_back();
      take_default_effect(SIGTSTP, on_stop_signal);  // stopped here until continued
      continue;
    }
    // Continued in the background (bg): an interactive program has nothing
    // to do there, and nothing of it may reach the shell's screen. Stopped
    // again until fg; a group that no shell watches is not stopped, and
    // goes on with the terminal given back.
    if (terminal_given_back() && !in_foreground() && stop_as_background_job()) {
      continue;
    }
    break;
  }
  take_terminal_again();
  errno = saved_errno;
  acting = false;
}

bool take_resize_noted() {
  note_signals_that_came();
  const bool noted = resize_noted != 0;
  resize_noted = 0;
  return noted;
}

void unguard_terminal() {
  for (const int signal_number : guarded_signals) {
    if (guarded(signal_number)) {
      set_action(signal_number, SIG_DFL);
    }
  }
}
