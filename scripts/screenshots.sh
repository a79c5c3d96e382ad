#!/usr/bin/env bash
# Makes the pictures of docs/user-guide.md: the real reader on a private X server, driven
# with the X pointer and keyboard by the machinery of the desktop session test.
# Usage: bash scripts/screenshots.sh [BUILD_DIR]   (default: build; minireader built there)
# Writes docs/images/*.png.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
reader=$build/bin/minireader
images=docs/images
[ -x "$reader" ] || { echo "build minireader first: $reader is missing" >&2; exit 1; }
for tool in Xvfb xdotool xwd xwdtopnm pamcut pamscale pnmtopng; do
  command -v "$tool" >/dev/null ||
    { echo "$tool is missing: run scripts/install-deps.sh" >&2; exit 1; }
done
source tests/host/app/xdesktop.sh
mkdir -p "$images"

# Crops the display to X Y W H, scales it by SCALE and writes docs/images/NAME.png. The
# screen is read until two readings agree, so nothing half painted is kept.
shot() {
  local name=$1 x=$2 y=$3 w=$4 h=$5 scale=$6 tries=40
  xd_shot "$XD_DIR/a.png" "$x" "$y" "$w" "$h"
  while :; do
    sleep 0.1
    xd_shot "$XD_DIR/b.png" "$x" "$y" "$w" "$h"
    cmp -s "$XD_DIR/a.png" "$XD_DIR/b.png" && break
    mv "$XD_DIR/b.png" "$XD_DIR/a.png"
    tries=$((tries - 1))
    [ "$tries" -gt 0 ] || xd_fail "the screen did not settle for $name"
  done
  pngtopam "$XD_DIR/a.png" | pamscale "$scale" | pnmtopng -compression 9 >"$images/$name.png"
  echo "$images/$name.png: $(stat -c %s "$images/$name.png") bytes"
}

# The picker without its shadow: a popup's shadow needs a compositing desktop, which the
# private X server does not have, and shows there as a black frame.
picker_shot() {
  local r x y w h
  r=$(xd_rect widget StampDialog)
  read -r x y w h <<<"$r"
  shot "$1" $((x + 8)) $((y + 8)) $((w - 16)) $((h - 16)) "$2"
}

xd_lacks_line() { ! xd_has_line "$1" "$2"; }

xd_start_display
cp samples/contract.pdf "$XD_DIR/contract.pdf"
xd_start_reader "$reader" "$XD_DIR/contract.pdf"
xd_place_window 0 0 1000 760
xd_wait_state 't_handtool 0 1'
r=$(xd_fit_page)
read -r px py pw ph <<<"$r"

# The picker (it opens under the Stamp button).
c=$(xd_center widget ti_stamp)
xd_click $c
xd_rect item ListVStandard/0 >/dev/null
picker_shot picker 0.8

# The auto-stamp panel: margins from the page edges.
c=$(xd_center widget ChkApplySig)
xd_click $c
xd_rect widget WidPageMar >/dev/null
picker_shot autostamp 0.8
c=$(xd_center widget ChkApplySig) # the panel moved it
xd_click $c                       # back to placing by hand
xd_until "the auto-stamp panel to close" xd_lacks_line widget WidPageMar

# A stamp placed by hand, then selected with the hand tool (its handles show).
c=$(xd_center item ListVStandard/0)
xd_click $c
xd_wait_state 'tp_stamp 0 1'
ax=$((px + pw * 62 / 100)) ay=$((py + ph * 72 / 100))
xdotool mousemove --sync $((ax - 20)) $((ay - 20))
xd_click $ax $ay
xd_wait_state '[a-z_]+ 1 0'
c=$(xd_center widget t_handtool)
xd_click $c
xd_click $ax $ay
shot placed 0 0 1000 760 0.7
