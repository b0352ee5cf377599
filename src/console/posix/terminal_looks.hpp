#pragma once

#include <string>
#include <string_view>

// The three looks drawn with the sixteen colours of the text attributes
// (SGR), as the console's colour command draws them: every cell tavoro
// writes, the answers as echoed, and the empty cells, in the look in force.
// The terminal's own default colours are never touched, and every piece
// written ends with the terminal's own attributes again, so that nothing of
// a look outlives tavoro, even one killed outright: at most cells already
// painted stay so. A look change, and a resize of the window, paint again
// what tavoro knows is on the window since it was last cleared: its own
// text and the answers as echoed (kept by the output path).

enum class Look { own, start, accepted, rejected };

// From now on the looks are drawn. gbk: the console reads GBK (for the
// columns a text takes); spaces: erasing leaves the cells in the
// terminal's own background (GNU screen without defbce), so empty cells
// are painted with spaces instead; eight: the terminal draws eight colours,
// not sixteen.
void allow_looks(bool gbk, bool spaces, bool eight);
bool looks_allowed();

// Puts a look in force and paints the window in it.
void change_look(Look look);

// Text of tavoro's in the look in force: each line painted to its end.
std::string painted_text(std::string_view text);
// What the line editor draws (the question and the answer typed), in the
// look in force.
std::string painted_drawing(std::string_view bytes);

// An answer echoed as typed, in the console's bytes: part of the window's
// text from now on.
void note_answer_echoed(std::string_view bytes);

// Clears the window in the look in force, its scrollback included.
std::string clearing();
// The window is cleared: tavoro's text starts at its top-left corner.
void note_cleared();
// What tavoro shows from now on follows text of someone else's (the shell's
// lines after a stop): only from here on can it be painted again.
void note_followed_other_text();

// Paints what tavoro knows of the window again, in the look in force (or,
// own_colours, in the terminal's own): all of it where it starts at the top
// of the window, else from where tavoro's text began. The cursor ends where
// it was.
std::string painted_again(bool own_colours);

// The columns of a line of the console's bytes, each of its characters as
// wide as a terminal draws it (the em dash as measured, emdash columns).
unsigned text_columns(std::string_view bytes, bool gbk, int em_dash);
