#include "console/posix/terminal_looks.hpp"

#include <algorithm>
#include <array>

#include "console/console.hpp"
#include "console/console_output.hpp"
#include "console/posix/terminal_size.hpp"

namespace {

// The console's colours F (bright white), 0 (black), A (light green) and
// C (light red) are the bright and dark colours of the sixteen: 107 and 40
// backgrounds, 30, 92 and 91 texts. A terminal of eight colours (dvtm)
// draws a bright colour it does not know in its own, which may be the
// background's: there the looks take the dark forms (47, 32, 31). Each look
// starts from the terminal's own attributes, so that none of the user's
// (bold, underline) mixes in.
constexpr std::array<std::string_view, 4> sixteen_colour_looks{"\x1b[0m", "\x1b[0;30;107m",
                                                               "\x1b[0;92;107m", "\x1b[0;91;40m"};
constexpr std::array<std::string_view, 4> eight_colour_looks{"\x1b[0m", "\x1b[0;30;47m",
                                                             "\x1b[0;32;47m", "\x1b[0;31;40m"};
constexpr std::string_view own_attributes = "\x1b[0m";
constexpr std::string_view erase_line_rest = "\x1b[K";

bool allowed = false;
bool gbk_text = false;
bool paint_with_spaces = false;
bool eight_colours = false;
Look in_force = Look::own;
// Whether tavoro's text since the last clearing starts at the window's
// top-left corner; else it follows the user's lines (at the start, after a
// stop), which are not tavoro's to paint.
bool from_top = false;
// The column the cursor is in after the text painted so far.
unsigned column = 0;

std::string_view attributes_of(Look look) {
  return (eight_colours ? eight_colour_looks : sixteen_colour_looks)
      .at(static_cast<std::size_t>(look));
}

unsigned window_columns() {
  const auto size = terminal_size();
  return size && size->columns > 0 ? size->columns : 80;
}

unsigned window_rows() {
  const auto size = terminal_size();
  return size ? size->rows : 24;
}

// The columns a Unicode character takes: two for the wide East Asian ones
// (Han characters, full-width forms, Hangul), one for the rest.
unsigned character_columns(char32_t code, int em_dash) {
  if (code == U'\u2014') {
    return em_dash == 2 ? 2 : 1;
  }
  const bool wide = (code >= 0x1100 && code <= 0x115f) || (code >= 0x2e80 && code <= 0xa4cf) ||
                    (code >= 0xac00 && code <= 0xd7a3) || (code >= 0xf900 && code <= 0xfaff) ||
                    (code >= 0xfe30 && code <= 0xfe4f) || (code >= 0xff00 && code <= 0xff60) ||
                    (code >= 0xffe0 && code <= 0xffe6) || (code >= 0x20000 && code <= 0x3fffd);
  return wide ? 2 : 1;
}

// Paints one piece of text, from the column the cursor is in: every line
// in attributes to the window's edge, the terminal's own attributes after
// each, so that a line end is never written in a look.
std::string paint(std::string_view text, std::string_view attributes) {
  std::string painted;
  const unsigned width = window_columns();
  while (!text.empty()) {
    const std::size_t line_end = text.find('\n');
    const std::string_view line = text.substr(0, line_end);
    painted += attributes;
    painted += line;
    column += text_columns(line, gbk_text, em_dash_columns());
    if (!paint_with_spaces) {
      painted += erase_line_rest;
    } else if (const unsigned rest = width - (column % width); column % width != 0 || column == 0) {
      // Up to the window's edge, the cursor kept where the text ends.
      const bool unfinished = line_end == std::string_view::npos;
      painted += unfinished ? "\x1b"
                              "7"
                            : "";
      painted.append(rest, ' ');
      painted += unfinished ? "\x1b"
                              "8"
                            : "";
    }
    painted += own_attributes;
    if (line_end == std::string_view::npos) {
      break;
    }
    painted += '\n';
    column = 0;
    text.remove_prefix(line_end + 1);
  }
  return painted;
}

// The rows of the window that text takes, from the first column of a row.
unsigned rows_taken(std::string_view text) {
  const unsigned width = window_columns();
  unsigned rows = 0;
  for (;;) {
    const std::size_t line_end = text.find('\n');
    const unsigned columns = text_columns(text.substr(0, line_end), gbk_text, em_dash_columns());
    rows += std::max(1U, (columns + width - 1) / width);
    if (line_end == std::string_view::npos) {
      return rows;
    }
    text.remove_prefix(line_end + 1);
  }
}

// Paints every empty cell of the window with spaces, the cursor left at the
// top-left corner.
std::string spaces_over_window() {
  std::string spaces;
  const unsigned rows = window_rows();
  for (unsigned row = 1; row <= rows; ++row) {
    spaces += "\x1b[" + std::to_string(row) + "H";
    spaces.append(window_columns(), ' ');
  }
  return spaces + "\x1b[H";
}

}  // namespace

void allow_looks(bool gbk, bool spaces, bool eight) {
  eight_colours = eight;
  allowed = true;
  gbk_text = gbk;
  paint_with_spaces = spaces;
  keep_screen_text();
  install_text_painter(painted_text);
}

bool looks_allowed() {
  return allowed;
}

void change_look(Look look) {
  if (!allowed) {
    return;
  }
  in_force = look;
  // The text given so far, a question held for the line editor included,
  // is on the window first, and painted with the rest.
  write_console_control({});
  write_console_control(painted_again(false));
}

std::string painted_text(std::string_view text) {
  return in_force == Look::own ? std::string(text) : paint(text, attributes_of(in_force));
}

std::string painted_drawing(std::string_view bytes) {
  if (in_force == Look::own) {
    return std::string(bytes);
  }
  const std::string_view attributes = attributes_of(in_force);
  return std::string(attributes).append(bytes).append(own_attributes);
}

void note_answer_echoed(std::string_view bytes) {
  if (!allowed) {
    return;
  }
  note_echoed(bytes);
  const std::size_t line_end = bytes.rfind('\n');
  const unsigned columns = text_columns(bytes.substr(line_end + 1), gbk_text, em_dash_columns());
  column = line_end == std::string_view::npos ? column + columns : columns;
}

std::string clearing() {
  if (in_force == Look::own) {
    return "\x1b[H\x1b[2J\x1b[3J";
  }
  const std::string_view attributes = attributes_of(in_force);
  std::string cleared = std::string(attributes) + "\x1b[H\x1b[2J\x1b[3J";
  if (paint_with_spaces) {
    cleared += spaces_over_window();
  }
  return cleared + std::string(own_attributes);
}

void note_cleared() {
  forget_screen_text();
  from_top = true;
  column = 0;
}

void note_followed_other_text() {
  forget_screen_text();
  from_top = false;
  column = 0;
}

std::string painted_again(bool own_colours) {
  const Look look = own_colours ? Look::own : in_force;
  const std::string_view attributes = attributes_of(look);
  const std::string_view text = screen_text();
  const unsigned rows = rows_taken(text);
  std::string painted;
  if (from_top || rows > window_rows()) {
    // The window and its scrollback hold tavoro's text alone: written again
    // whole, it stands where it stood.
    painted = "\x1b[H" + std::string(attributes) + "\x1b[2J\x1b[3J";
    if (paint_with_spaces && look != Look::own) {
      painted += spaces_over_window();
    }
    painted += own_attributes;
  } else {
    // From the first row of tavoro's text down; the user's lines above stay.
    painted = "\r";
    if (rows > 1) {
      painted += "\x1b[" + std::to_string(rows - 1) + "A";
    }
    painted += std::string(attributes) + "\x1b[J" + std::string(own_attributes);
  }
  column = 0;
  return painted + (look == Look::own ? std::string(text) : paint(text, attributes));
}

unsigned text_columns(std::string_view bytes, bool gbk, int em_dash) {
  unsigned columns = 0;
  for (std::size_t at = 0; at < bytes.size();) {
    const auto lead = static_cast<unsigned char>(bytes[at]);
    if (lead < 0x80) {
      columns += lead >= 0x20 ? 1 : 0;
      ++at;
    } else if (gbk) {
      // Every two-byte GBK character is drawn two columns wide.
      columns += 2;
      at += 2;
    } else {
      const std::size_t length = lead >= 0xf0 ? 4 : lead >= 0xe0 ? 3 : lead >= 0xc0 ? 2 : 1;
      char32_t code = length == 1 ? lead : lead & (0x7fU >> length);
      for (std::size_t next = 1; next < length && at + next < bytes.size(); ++next) {
        code = (code << 6) | (static_cast<unsigned char>(bytes[at + next]) & 0x3fU);
      }
      columns += character_columns(code, em_dash);
      at += length;
    }
  }
  return columns;
}
