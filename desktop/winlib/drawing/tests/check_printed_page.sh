#!/usr/bin/env bash
# Renders the page that the printing test sent to the PostScript printer
# (printed_window.ps in the working folder) with ghostscript and checks it:
# one page; at 1 pixel per millimetre the black box of the test's drawing,
# (20, 30) to (60, 70) mm, is dark inside and the page is white elsewhere.
# Leaves printed_window.png for a person to look at.
set -eu
ps=printed_window.ps
[ -f "$ps" ] || { echo "no $ps: the printing test did not print"; exit 1; }
rm -f printed_page_*.pgm
gs -q -dSAFER -dNOPAUSE -dBATCH -sDEVICE=pgmraw -r25.4 -o 'printed_page_%d.pgm' "$ps"
gs -q -dSAFER -dNOPAUSE -dBATCH -sDEVICE=png16m -r100 -o printed_window.png "$ps"
pages=$(ls printed_page_*.pgm | wc -l)
[ "$pages" = 1 ] || { echo "expected 1 page, ghostscript rendered $pages"; exit 1; }
pgm=printed_page_1.pgm
# Header: "P5", comment lines, width, height, maxval, then the bytes.
export LC_ALL=C
offset=0
tokens=()
while IFS= read -r line; do
  offset=$((offset + ${#line} + 1))
  case "$line" in \#*) continue ;; esac
  tokens+=($line)
  [ ${#tokens[@]} -ge 4 ] && break
done < <(head -c 200 "$pgm" | tr -c '\n[:print:]' '?')
[ "${tokens[0]:-}" = P5 ] && [ "${tokens[3]:-}" = 255 ] || { echo "not a grey map: ${tokens[*]}"; exit 1; }
width=${tokens[1]}
height=${tokens[2]}
pixel() { od -An -tu1 -j $((offset + $2 * width + $1)) -N1 "$pgm" | tr -d ' '; }
fail=0
for at in "40 50" "22 32" "58 68"; do
  v=$(pixel $at)
  [ "$v" -lt 64 ] || { echo "($at) mm should be dark, is $v"; fail=1; }
done
for at in "10 10" "100 50" "40 150" "150 200"; do
  v=$(pixel $at)
  [ "$v" -gt 200 ] || { echo "($at) mm should be white, is $v"; fail=1; }
done
[ $fail = 0 ] && echo "one page of ${width}x${height} mm; the box is where it was drawn"
exit $fail
