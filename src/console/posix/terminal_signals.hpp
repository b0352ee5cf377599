#pragma once

// Gives the terminal back whenever tavoro leaves it: when a signal ends the
// program (Ctrl-C, Ctrl-\, kill, a closed terminal), and when Ctrl-Z stops it, in
// which case it takes the terminal again once it is continued.
void guard_terminal_against_signals();
