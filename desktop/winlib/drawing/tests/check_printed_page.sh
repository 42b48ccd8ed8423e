#!/usr/bin/env bash
# Renders the page that the printing test sent to the PostScript printer
# (printed_window.ps in the working folder) with ghostscript and checks it:
# one page; at 1 pixel per millimetre the black box of the test's drawing,
# (20, 30) to (60, 70) mm, is dark inside and the page is white elsewhere;
# at 10 pixels per millimetre the long line laid out to end at 150 mm (85 to
# 89 mm down) has ink left of 150 mm and none right of 150.5 mm.
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
# Sets offset (where the bytes start), width and height of grey map $1.
read_header() {
  offset=0
  tokens=()
  while IFS= read -r line; do
    offset=$((offset + ${#line} + 1))
    case "$line" in \#*) continue ;; esac
    tokens+=($line)
    [ ${#tokens[@]} -ge 4 ] && break
  done < <(head -c 200 "$1" | tr -c '\n[:print:]' '?')
  [ "${tokens[0]:-}" = P5 ] && [ "${tokens[3]:-}" = 255 ] || { echo "not a grey map: ${tokens[*]}"; exit 1; }
  width=${tokens[1]}
  height=${tokens[2]}
}
read_header "$pgm"
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

# The line's strip at 10 pixels per millimetre: the darkest pixel of its
# rows between two x positions (in tenths of a millimetre).
gs -q -dSAFER -dNOPAUSE -dBATCH -sDEVICE=pgmraw -r254 -o printed_line.pgm "$ps"
page_width=$width
page_height=$height
read_header printed_line.pgm
darkest() {
  local low=255 y v
  for y in $(seq 850 890); do
    for v in $(od -An -tu1 -v -j $((offset + y * width + $1)) -N $(($2 - $1)) printed_line.pgm); do
      [ "$v" -lt "$low" ] && low=$v
    done
  done
  echo "$low"
}
inside=$(darkest 1400 1500)
outside=$(darkest 1505 1600)
[ "$inside" -lt 64 ] || { echo "the line has no ink left of 150 mm (darkest $inside)"; fail=1; }
[ "$outside" -gt 200 ] || { echo "the line runs past 150 mm, where it was laid out to end (darkest $outside)"; fail=1; }
[ $fail = 0 ] && echo "one page of ${page_width}x${page_height} mm; the box and the line are where they were drawn"
exit $fail
