#!/usr/bin/env bash
# Makes a multi-page sample PDF with Ghostscript: make-sample-pdf.sh OUT.pdf [PAGES]
set -euo pipefail
out=${1:?usage: make-sample-pdf.sh OUT.pdf [PAGES]}
pages=${2:-4}
gs -q -dSAFER -dNOPAUSE -dBATCH -sDEVICE=pdfwrite -sPAPERSIZE=a4 -dCompressPages=false \
  -o "$out" - <<PS
/pages $pages def
/Helvetica-Bold findfont 44 scalefont /big exch def
/Helvetica findfont 16 scalefont /small exch def
1 1 pages {
  /page exch def
  % A frame and a band of colour, different on every page.
  0.2 setlinewidth 40 40 515 762 rectstroke
  page 4 mod 0.25 mul 0.6 0.9 page 0.1 mul sub setrgbcolor 40 700 515 102 rectfill
  0 setgray big setfont 60 730 moveto (quarven) show
  small setfont 60 660 moveto (Printed through the Remote Desktop add-in) show
  60 636 moveto (Page ) show page 3 string cvs show ( of ) show pages 3 string cvs show
  % Enough lines and shapes that the file takes many 1600-byte chunks.
  1 1 24 {
    /row exch def
    60 600 row 20 mul sub moveto
    (Line ) show row 3 string cvs show ( of page ) show page 3 string cvs show
    (: the quick brown fox jumps over the lazy dog.) show
  } for
  0 1 11 {
    /i exch def
    i 12 div 0.8 0.5 sethsbcolor
    300 150 i 8 mul add 40 i 30 mul dup 20 add arc stroke
  } for
  showpage
} for
PS
