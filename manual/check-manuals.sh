#!/usr/bin/env bash
# Every language's manual exists, has at least the pages its source asks for, shows its
# title and chapter headings as text, and carries its pictures and its fonts.
set -euo pipefail
src=$1 help=$2
fail=0
for entry in EN:en FR:fr DE:de IT:it BPT:pt ES:es CN:zh; do
  code=${entry%%:*} lang=${entry##*:}
  pdf="$help/Dorvel-SW-HELP-${code}_V1.1.pdf"
  if [ ! -s "$pdf" ]; then echo "$code: no manual at $pdf"; fail=1; continue; fi
  breaks=$(grep -c '^[[:space:]]*<!--[[:space:]]*pagebreak[[:space:]]*-->' "$src/$lang.md" || true)
  pages=$(pdfinfo "$pdf" | awk '/^Pages:/ {print $2}')
  if [ "$pages" -le "$breaks" ]; then echo "$code: $pages pages for $breaks page breaks"; fail=1; fi
  # The layout sets "fi", "fl" and "ff" as ligatures; the text compared is the letters.
  text=$(pdftotext "$pdf" - | sed 's/ﬁ/fi/g; s/ﬂ/fl/g; s/ﬀ/ff/g; s/ﬃ/ffi/g; s/ﬄ/ffl/g' | tr -s '[:space:]' ' ')
  while IFS= read -r heading; do
    # Markdown emphasis and code marks are not printed.
    words=$(printf '%s' "$heading" | sed -E 's/^#+[[:space:]]*//; s/[*`_]//g' | tr -s '[:space:]' ' ' | sed 's/ $//')
    case "$text" in *"$words"*) ;; *) echo "$code: heading not found in the PDF: $words"; fail=1 ;; esac
  done < <(grep -E '^#{1,2} ' "$src/$lang.md")
  images=$(pdfimages -list "$pdf" | tail -n +3 | wc -l)
  if [ "$images" -lt 11 ]; then echo "$code: only $images pictures"; fail=1; fi
  # Text drawn as empty boxes would still extract; a missing font shows as no embedded font.
  if pdffonts "$pdf" | tail -n +3 | awk '$(NF-4) != "yes"' | grep -q .; then
    echo "$code: a font is not embedded"; fail=1
  fi
done
if ! pdffonts "$help/Dorvel-SW-HELP-CN_V1.1.pdf" | grep -qi 'wenquanyi\|wqy'; then
  echo "CN: the Chinese text font is not in the PDF"; fail=1
fi
[ "$fail" = 0 ] && echo "manuals: ok"
exit "$fail"
