#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Standard input when it is a terminal that tavoro asked at start-up where
// the cursor is (maybe more than once) and, maybe, which colours it has.
// std::cin then reads first typed_ahead, what the user typed while tavoro
// waited for the answers. Whatever answer comes later is taken out of
// whatever it arrives in: it is never read as an answer, nor as the key of
// a pause.
// position_reports_outstanding says how many of the position reports asked
// for are still to come.
void install_terminal_input(std::string typed_ahead, std::size_t position_reports_outstanding);

// Whether bytes, which the pause read as one key, are a late answer of the
// terminal's; the pause then waits on for a key.
bool take_late_report(std::string_view bytes);
