#!/usr/bin/env bash
# Makes the README's pictures again: tavoro in an xterm under Xvfb, answered
# with real keystrokes (xdotool) and photographed with ImageMagick's import,
# then tavoro.exe under Wine, which draws the Windows console in a tmux pane
# in the same kind of xterm. Builds nothing.
#
#   bash doc/screenshots/make.sh [TAVORO [TAVORO_EXE]]
#
# (build/tavoro and build-windows/tavoro.exe by default). Needs, on Debian:
#   apt-get install xvfb xterm xdotool imagemagick tmux wine64 \
#     fonts-dejavu-core fonts-wqy-zenhei
# and optipng, where it is installed, makes the files smaller, losing nothing.
set -euo pipefail
unset NO_COLOR TMUX  # the looks are what the pictures show
here=$(cd "$(dirname "$0")" && pwd)
tavoro=$(realpath "${1:-build/tavoro}")
exe=$(realpath "${2:-build-windows/tavoro.exe}")
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
scratch=$(mktemp -d /tmp/tavoro-screenshots.XXXXXX)
export WINEPREFIX=$scratch/wine WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml='
mkdir "$WINEPREFIX"
server=server-$(stat -c %D "$WINEPREFIX")-$(printf %x "$(stat -c %i "$WINEPREFIX")")

# A display of our own; Xvfb writes its number once it is ready.
Xvfb -displayfd 3 -screen 0 1024x900x24 -nolisten tcp 3>"$scratch/display" 2>/dev/null &
xvfb=$!
xterm_pid=
finish() {
  [ -z "$xterm_pid" ] || kill "$xterm_pid" 2>/dev/null || true
  "$wineserver" -k 2>/dev/null || true
  "$wineserver" -w 2>/dev/null || true
  for dir in /tmp/wine-*/"$server" "/tmp/.wine-$(id -u)/$server"; do  # the Wine server's socket
    [ ! -d "$dir" ] || { rm -rf "$dir"; rmdir "$(dirname "$dir")" 2>/dev/null || true; }
  done
  tmux -S "$scratch/tmux" kill-server 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  rm -rf "$scratch"
}
trap finish EXIT
while [ ! -s "$scratch/display" ]; do sleep 0.1; done
DISPLAY=:$(cat "$scratch/display")
export DISPLAY

# Starts a command in a 56-column xterm, whose window gets the keys.
start() {
  xterm -name tavoro-shot -fa 'DejaVu Sans Mono' -fs 12 -geometry 56x40 -e "$@" &
  xterm_pid=$!
  window=$(xdotool search --sync --onlyvisible --classname tavoro-shot | head -n 1)
  xdotool mousemove --window "$window" 50 50  # no window manager: the pointer's window has the focus
  sleep 4
}
stop() { kill "$xterm_pid" 2>/dev/null || true; wait "$xterm_pid" || true; xterm_pid=; }
answer() { for a in "$@"; do xdotool type --delay 80 "$a"; sleep 0.3; xdotool key Return; sleep 1.5; done; }

# Photographs the window as doc/screenshots/NAME.png, less its empty rows at
# the bottom ('%@' is the box around all that is not background).
shot() {
  local png=$here/$1.png box
  sleep 1
  import -window "$window" "$png"
  box=$(convert "$png" -format '%@' info:)
  IFS='x+' read -r _ height _ top <<<"$box"
  convert "$png" -crop "x$((top + height + 16))+0+0" +repage "$png"
  if command -v optipng >/dev/null; then optipng -quiet -o7 -strip all "$png"; fi
  echo "$png: $(stat -c %s "$png") bytes"
}

# tavoro in a terminal that reports its colours: the menu, February 2024 in
# light green on bright white, then a month of 13 refused in light red on black.
LC_ALL=C.UTF-8 start "$tavoro"
shot menu
answer 2 2024 1 2
shot february-2024
xdotool key space
answer 2 2024 1 13
shot rejected-month
answer 2
xdotool key space
answer 0
xdotool key space
stop

# The same month with --lunar: the lunar labels under each week row and the
# lunar span under the closing rule line.
LC_ALL=C.UTF-8 start "$tavoro" --lunar
answer 2 2024 1 2
shot lunar-february-2024
xdotool key space
answer 0
xdotool key space
stop

# tavoro.exe under Wine, in a Chinese locale, in a tmux pane whose status
# line shows the console's title: a query answered, then the cleared window
# with the menu again in light green on bright white. (Wine draws the query's
# own screen with stray lines, which a console window does not have.)
LC_ALL=zh_CN.UTF-8 "$wine" wineboot -i >/dev/null 2>&1
LC_ALL=zh_CN.UTF-8 start tmux -S "$scratch/tmux" -f /dev/null new-session "$wine" "$exe" \; \
  set status-position top \; set status-left '' \; set status-right '#{pane_title} '
answer 3 2024 1 2 29
xdotool key space
shot windows-console
answer 0
xdotool key space
stop
