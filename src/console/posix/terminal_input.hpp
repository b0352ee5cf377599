#pragma once

#include <string>
#include <string_view>

// Standard input when it is a terminal that tavoro asked for the cursor's
// position at start-up. std::cin then reads first typed_ahead, what the user
// typed while tavoro waited for the answer. When the answer is still
// outstanding, it is taken out of whatever it arrives in later: it is never
// read as an answer, nor as the key of a pause.
void install_terminal_input(std::string typed_ahead, bool outstanding);

// Whether bytes, which the pause read as one key, are the late report; it
// is taken out once, and the pause waits on for a key.
bool take_late_report(std::string_view bytes);
