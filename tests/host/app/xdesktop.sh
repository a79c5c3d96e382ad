# Sourced by scripts that drive the real reader on a private X server: the session test
# (tst_xsession.sh) and the guide's screenshots (scripts/screenshots.sh).
#
# xd_start_display           starts Xvfb on the first free display and exports DISPLAY
# xd_start_reader BIN FILE   starts minireader on FILE with every folder in a temporary one
# xd_rect KIND NAME          prints "x y w h" of a line of the reader's widget map, waiting
#                            for it (KIND is widget, item or page; see host/app/widgetmap.h)
# xd_center KIND NAME        prints "x y", the middle of that rectangle
# xd_fit_page                clicks Fit Page and prints the page's new rectangle
# xd_wait_state REGEX        waits until the map's "state <tool> <undo> <clean>" matches
# xd_click X Y, xd_drag X1 Y1 X2 Y2, xd_key KEYS   the X pointer and keyboard
# xd_shot OUT.png [X Y W H]  a screenshot of the display (or of a part) as PNG
# Functions that print fail the calling script through `set -e` (use them as v=$(...)).
# Everything started here is stopped, and the temporary folder removed, when the calling
# script exits (xd_cleanup runs from its EXIT trap), also after a failure.

XD_TIMEOUT=${XD_TIMEOUT:-20} # seconds any one wait may take
XD_DIR=$(mktemp -d "${TMPDIR:-/tmp}/xdesktop.XXXXXX")
XD_MAP=$XD_DIR/widgets.txt
XD_XVFB_PID=
XD_READER_PID=
XD_WINDOW=
XD_LEVEL=$BASH_SUBSHELL
trap xd_cleanup EXIT

xd_fail() {
  echo "FAIL: $*" >&2
  # What the screen showed, for whoever reads the failure (XD_FAIL_SHOT names the file).
  if [ -n "${XD_FAIL_SHOT:-}" ] && [ -n "${DISPLAY:-}" ] &&
    xwd -root -silent 2>/dev/null | xwdtopnm 2>/dev/null | pnmtopng >"$XD_FAIL_SHOT"; then
    echo "the screen at the failure: $XD_FAIL_SHOT" >&2
  fi
  if [ -s "$XD_DIR/reader.log" ]; then
    echo "--- minireader said:" >&2
    cat "$XD_DIR/reader.log" >&2
  fi
  exit 1
}

xd_cleanup() {
  local code=$?
  [ "$BASH_SUBSHELL" = "$XD_LEVEL" ] || return 0 # a $(...) of ours ends, not the script
  for pid in $XD_READER_PID $XD_XVFB_PID; do
    { kill "$pid" && wait "$pid"; } 2>/dev/null || true # its status is not ours
  done
  rm -rf "$XD_DIR"
  exit $code
}

xd_start_display() {
  local n got fifo=$XD_DIR/ready
  for n in $(seq 90 150); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    rm -f "$fifo" && mkfifo "$fifo"
    # -displayfd: Xvfb writes the display number once it accepts clients; a display taken
    # in the meantime makes it exit, which closes the pipe, and the next number is tried.
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -displayfd 3 3>"$fifo" \
      >"$XD_DIR/xvfb.log" 2>&1 &
    XD_XVFB_PID=$!
    got=
    read -r -t "$XD_TIMEOUT" got <"$fifo" || true
    if [ "$got" = "$n" ]; then
      export DISPLAY=":$n"
      return 0
    fi
    kill "$XD_XVFB_PID" 2>/dev/null || true
    wait "$XD_XVFB_PID" 2>/dev/null || true
    XD_XVFB_PID=
  done
  xd_fail "no free X display between :90 and :150 ($(tail -1 "$XD_DIR/xvfb.log"))"
}

# Starts the reader with HOME and the XDG folders inside XD_DIR, so nothing of the user's
# own settings or stamps is read or written, and finds its window.
xd_start_reader() {
  local bin=$1
  shift
  mkdir -p "$XD_DIR/home/.config" "$XD_DIR/home/.local/share"
  # Only the platform's own caches are let go at exit under the leak checker; no GL (the
  # reader paints with the raster engine anyway).
  if [ -n "${LSAN_OPTIONS:-}" ]; then
    local supp=$XD_DIR/lsan.supp here
    here=$(dirname "${BASH_SOURCE[0]}")
    cat "$here/../../lsan.supp" >"$supp" 2>/dev/null || true
    printf 'leak:%s\n' libQt5XcbQpa libxcb libX11 libxkbcommon libdbus libQt5DBus libglib \
      libgobject libICE libSM libfreetype >>"$supp"
    LSAN_OPTIONS=$(echo "$LSAN_OPTIONS" | sed 's/suppressions=[^:]*//'):suppressions=$supp
    export LSAN_OPTIONS
  fi
  HOME=$XD_DIR/home XDG_CONFIG_HOME=$XD_DIR/home/.config \
    XDG_DATA_HOME=$XD_DIR/home/.local/share QT_QPA_PLATFORM=xcb QT_XCB_GL_INTEGRATION=none \
    MINIREADER_WIDGET_MAP=$XD_MAP "$bin" "$@" >"$XD_DIR/reader.log" 2>&1 &
  XD_READER_PID=$!
  xd_until "the reader's window with a document" xd_find_window
}

xd_find_window() {
  XD_WINDOW=$(xdotool search --onlyvisible --name ' - Reader$' 2>/dev/null | head -1)
  [ -n "$XD_WINDOW" ]
}

# Gives the window a known place and size (there is no window manager to do it).
xd_place_window() {
  local x=$1 y=$2 w=$3 h=$4
  xdotool windowsize "$XD_WINDOW" "$w" "$h" windowmove "$XD_WINDOW" "$x" "$y"
  xd_rect_is widget MainWindow "$x $y $w $h"
}

# Polling is the only way to see another process's state from a script; each wait is
# bounded and fails with what it was waiting for.
xd_until() {
  local what=$1
  shift
  local tries=$((XD_TIMEOUT * 20))
  while ! "$@"; do
    tries=$((tries - 1))
    [ "$tries" -gt 0 ] || xd_fail "gave up waiting for $what"
    kill -0 "$XD_READER_PID" 2>/dev/null || xd_fail "the reader quit while waiting for $what"
    sleep 0.05
  done
}

xd_map_line() { # KIND NAME: the map's line without its first two words
  awk -v k="$1" -v n="$2" '$1 == k && $2 == n { print $3, $4, $5, $6; exit }' \
    "$XD_MAP" 2>/dev/null
}

xd_has_line() { [ -n "$(xd_map_line "$1" "$2")" ]; }

xd_line_is() { [ "$(xd_map_line "$1" "$2")" = "$3" ]; }

xd_rect_is() { # KIND NAME "x y w h"
  xd_until "$1 $2 at $3 (map has: $(xd_map_line "$1" "$2"))" xd_line_is "$1" "$2" "$3"
}

xd_line_differs() { xd_has_line "$1" "$2" && [ "$(xd_map_line "$1" "$2")" != "$3" ]; }

xd_rect_changes() { # KIND NAME "x y w h": waits until it is somewhere else
  xd_until "$1 $2 to leave $3" xd_line_differs "$1" "$2" "$3"
}

# Shows the whole of the current page (Fit Page) and prints its rectangle.
xd_fit_page() {
  local before c
  before=$(xd_rect page 0)
  c=$(xd_center widget fitpage)
  xd_click $c
  xd_rect_changes page 0 "$before"
  xd_map_line page 0
}

xd_rect() {
  xd_until "$1 $2" xd_has_line "$1" "$2"
  xd_map_line "$1" "$2"
}

xd_center() {
  xd_rect "$1" "$2" | awk '{ print int($1 + $3 / 2), int($2 + $4 / 2) }'
}

xd_state_matches() { grep -Eq "^state $1\$" "$XD_MAP" 2>/dev/null; }

xd_wait_state() {
  xd_until "state $1 (map has: $(grep '^state' "$XD_MAP" 2>/dev/null))" xd_state_matches "$1"
}

xd_click() {
  xdotool mousemove --sync "$1" "$2" click 1
}

# Pressed, moved in steps (past the drag distance, as a hand would) and released.
xd_drag() {
  local x1=$1 y1=$2 x2=$3 y2=$4 i
  xdotool mousemove --sync "$x1" "$y1" mousedown 1
  for i in 1 2 3 4 5 6; do
    xdotool mousemove --sync $((x1 + (x2 - x1) * i / 6)) $((y1 + (y2 - y1) * i / 6))
  done
  xdotool mouseup 1
}

xd_key() {
  xdotool windowfocus --sync "$XD_WINDOW" key --clearmodifiers "$@"
}

xd_shot() {
  local out=$1
  shift
  xwd -root -silent >"$XD_DIR/shot.xwd" || xd_fail "xwd could not read the display"
  if [ $# -eq 4 ]; then
    xwdtopnm "$XD_DIR/shot.xwd" 2>/dev/null |
      pamcut -left "$1" -top "$2" -width "$3" -height "$4" | pnmtopng >"$out"
  else
    xwdtopnm "$XD_DIR/shot.xwd" 2>/dev/null | pnmtopng >"$out"
  fi
  [ -s "$out" ] || xd_fail "no screenshot written to $out"
}

# Waits for the reader to quit by itself; its exit status goes to XD_READER_CODE.
xd_reader_exit() {
  local tries=$((XD_TIMEOUT * 20))
  while kill -0 "$XD_READER_PID" 2>/dev/null; do
    tries=$((tries - 1))
    [ "$tries" -gt 0 ] || xd_fail "the reader did not quit"
    sleep 0.05
  done
  XD_READER_CODE=0
  wait "$XD_READER_PID" || XD_READER_CODE=$?
  XD_READER_PID=
}
