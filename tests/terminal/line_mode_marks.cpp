// Loaded into tavoro (LD_PRELOAD), marks in its output where it puts its
// terminal's line editing and echo off: a session then sees whether those
// modes came before what tavoro wrote, which its bytes alone cannot show.
#include <dlfcn.h>
#include <errno.h>
#include <termios.h>
#include <unistd.h>

#include <cstring>

extern "C" int tcsetattr(int fd, int action, const termios* modes) {
  using Real = int (*)(int, int, const termios*);
  static const auto real = reinterpret_cast<Real>(dlsym(RTLD_NEXT, "tcsetattr"));
  const int result = real(fd, action, modes);
  if (result == 0 && (modes->c_lflag & (ICANON | ECHO)) == 0 &&
      std::strcmp(program_invocation_short_name, "tavoro") == 0) {
    static_cast<void>(write(STDOUT_FILENO, "\x1b_unedited\x1b\\", 13));
  }
  return result;
}
