#pragma once

#include <poll.h>

// The signals that take the terminal from tavoro. They are blocked
// everywhere but inside the one wait (wait_for_descriptor), where tavoro
// waits for a key or for its terminal to take more output; their handlers
// only note that a signal came, and the program acts on it when the wait
// returns. So a signal never cuts into what tavoro is doing with the
// terminal, and none that came is left waiting for a key: by construction,
// since it can only come while tavoro waits, and every wait ends with it.

// Started in the background (tavoro &), tavoro notes nothing of the
// terminal and writes nothing to it until it is in the foreground: stopped
// as a background job that touches its terminal is, until fg; kill or bg
// there act as on any stopped job. Called before anything else, with the
// signals' own effects in force.
void wait_for_foreground();

// Installs the handlers and blocks the signals. A signal that whoever
// started tavoro ignores stays ignored.
void guard_terminal_against_signals();

// Waits until fd is ready for events, or milliseconds have passed (-1: as
// long as it takes), the guarded signals let in meanwhile: poll's result,
// -1 with EINTR where a signal came.
int wait_for_descriptor(int fd, short events, int milliseconds);

// While the terminal's answers to the start-up questions are on their way,
// an ending signal is only noted: the answers are taken first, so that
// none is left for the shell, and the signal acted on when the holding
// ends.
void hold_ending_signals();
void release_ending_signals();

// Acts on the signals noted: an ending signal gives the terminal back and
// ends tavoro by it; Ctrl-Z gives the terminal back and stops tavoro. Once
// continued, tavoro takes the terminal again in the foreground; in the
// background it stops again, as a job that writes to its terminal there
// is stopped, so that nothing of it reaches the shell's screen; and a kill
// while it is stopped ends it. A give-back is never cut into: what comes
// during one is acted on after it.
void act_on_signals();

// Whether the window was resized since the last call: acted on where
// tavoro waits for input, never in the middle of its output.
bool take_resize_noted();

// The signals' own effects again, before the terminal is given back for
// the last time.
void unguard_terminal();
