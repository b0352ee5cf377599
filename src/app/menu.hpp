#pragma once

// Shows the menu, reads a query code and serves it, again and again, until
// the user enters code 0 or the input ends; either ends the program, so this
// never returns. With lunar (tavoro --lunar) the answers show the lunar
// calendar too.
[[noreturn]] void run_main_menu(bool lunar);
