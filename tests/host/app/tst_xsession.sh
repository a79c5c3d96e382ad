#!/usr/bin/env bash
# The stamp road as a person takes it, on a real X server against the real program: open a
# PDF, Stamp, pick a stamp, place it with a click, drag it elsewhere with the hand tool,
# save with Ctrl+S, quit. The saved file, drawn by pdftoppm, must show the stamp where it
# was dropped and nothing where it was first placed. A screenshot of the window with the
# placed stamp goes to OUTDIR/xsession.png.
# Usage: tst_xsession.sh MINIREADER SAMPLE.pdf OUTDIR
# Exit status 77 (skipped) when Xvfb or xdotool is missing, 1 on any failure.
set -euo pipefail
reader=$1 sample=$2 outdir=$3

for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
for tool in xwd xwdtopnm pamcut pnmtopng pnmtoplainpnm pdftoppm qpdf; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed" >&2; exit 1; }
done

source "$(dirname "$0")/xdesktop.sh"
mkdir -p "$outdir"
XD_FAIL_SHOT=$outdir/xsession-failure.png
rm -f "$XD_FAIL_SHOT"

# Counts the stamp-coloured pixels (strongly red or blue, not grey text) in a square of
# HALF pixels around the point at fractions FX, FY of the page drawn in PPM.
stamp_pixels() {
  local ppm=$1 fx=$2 fy=$3 half=$4 w h
  read -r w h < <(head -c 40 "$ppm" | awk 'NR == 2 { print $1, $2 }')
  local cx cy
  cx=$(awk -v f="$fx" -v w="$w" 'BEGIN { print int(f * w) }')
  cy=$(awk -v f="$fy" -v h="$h" 'BEGIN { print int(f * h) }')
  pamcut -left $((cx - half)) -top $((cy - half)) -width $((2 * half)) -height $((2 * half)) \
    "$ppm" | pnmtoplainpnm | awk '{ for (i = 1; i <= NF; i++) v[t++] = $i }
      END { for (i = 4; i + 2 < t; i += 3) { # after P3, width, height, maxval
        r = v[i]; g = v[i + 1]; b = v[i + 2]
        hi = r > b ? (r > g ? r : g) : (b > g ? b : g)
        lo = r < b ? (r < g ? r : g) : (b < g ? b : g)
        if (hi - lo > 80) n++ }
      print n + 0 }'
}

xd_start_display
doc=$XD_DIR/contract.pdf
cp "$sample" "$doc"
xd_start_reader "$reader" "$doc"
xd_place_window 0 0 1200 960
xd_wait_state 't_handtool 0 1'
r=$(xd_fit_page)
read -r px py pw ph <<<"$r"

# Stamp, then the first stamp of the picker's list (the standard one: nothing used yet).
c=$(xd_center widget ti_stamp)
xd_click $c
c=$(xd_center item ListVStandard/0)
xd_click $c
xd_wait_state 'tp_stamp 0 1'

# Placed at (30 %, 30 %) of the page, dropped at (65 %, 70 %).
ax=$((px + pw * 30 / 100)) ay=$((py + ph * 30 / 100))
bx=$((px + pw * 65 / 100)) by=$((py + ph * 70 / 100))
xdotool mousemove --sync $((ax - 20)) $((ay - 20)) # the stamp follows the pointer
xd_click $ax $ay
xd_wait_state '[a-z_]+ 1 0'
c=$(xd_center widget t_handtool)
xd_click $c
xd_wait_state 't_handtool 1 0'
xd_drag $ax $ay $bx $by
xd_wait_state 't_handtool 2 0'
xd_shot "$outdir/xsession.png" 0 0 1200 960
echo "screenshot of the window with the placed stamp: $outdir/xsession.png"

xd_key ctrl+s
xd_wait_state 't_handtool 2 1'
xd_key ctrl+q
xd_reader_exit
[ "$XD_READER_CODE" = 0 ] || xd_fail "the reader quit with status $XD_READER_CODE"

check=$(qpdf --check "$doc" 2>&1) || xd_fail "qpdf --check on the saved file: $check"
pdftoppm -r 40 -f 1 -l 1 "$doc" "$XD_DIR/saved" || xd_fail "pdftoppm cannot draw the saved file"
ppm=$(ls "$XD_DIR"/saved*.ppm)
fa=$(awk -v v=$((ax - px)) -v s="$pw" 'BEGIN { print v / s }')
fya=$(awk -v v=$((ay - py)) -v s="$ph" 'BEGIN { print v / s }')
fb=$(awk -v v=$((bx - px)) -v s="$pw" 'BEGIN { print v / s }')
fyb=$(awk -v v=$((by - py)) -v s="$ph" 'BEGIN { print v / s }')
at_drop=$(stamp_pixels "$ppm" "$fb" "$fyb" 10)
at_first=$(stamp_pixels "$ppm" "$fa" "$fya" 10)
echo "stamp-coloured pixels in the saved page: $at_drop where dropped, $at_first where placed"
[ "$at_drop" -ge 40 ] || xd_fail "the saved page shows no stamp where it was dropped"
[ "$at_first" -le 4 ] || xd_fail "the saved page still shows a stamp where it was placed first"
echo "PASS"
