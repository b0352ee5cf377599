#pragma once

// Shows the menu, reads a query code and serves it, again and again, until
// the user enters code 0, which ends the program.
void run_main_menu();
