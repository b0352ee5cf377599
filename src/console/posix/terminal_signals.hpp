#pragma once

// The signals that take the terminal from tavoro. Their handlers only note
// that a signal came, and the program acts on it where it waits for input
// and before it writes, so that what a signal does never cuts into what
// tavoro is doing with the terminal. The ending signals (Ctrl-C, Ctrl-\,
// kill, a closed terminal) alone act at once, since the program may be
// waiting where it cannot look: their handler gives the terminal back and
// ends tavoro by the same signal.

// Installs the handlers. A signal that whoever started tavoro ignores
// stays ignored.
void guard_terminal_against_signals();

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
// is stopped, so that nothing of it reaches the shell's screen.
void act_on_signals();

// The signals' own effects again, before the terminal is given back for
// the last time.
void unguard_terminal();
