#!/bin/sh
# Makes the seed corpus of every fuzz target from the repository's own inputs:
#   seeds.sh SOURCE_DIR OUT_DIR
# Each seed is an options byte ("0" UTF-8, "1" Shift-JIS, "2" and "3" the same
# with the agent runtime exported; see fuzzsupport.h) followed by the bytes of
# a markup file, of its body as the reader joins it, or of a table file.
set -eu
src=$1
out=$2
rm -rf "$out"
mkdir -p "$out/fuzz_markupreader" "$out/fuzz_tagparser" "$out/fuzz_convert" \
  "$out/fuzz_tagtypetable" "$out/fuzz_emotionmap" "$out/fuzz_settings" "$out/fuzz_pagewriter" \
  "$out/fuzz_cli" "$out/fuzz_speech"

# seed DIR NAME OPTIONS...: the standard input behind each options byte.
seed() {
  dir=$1
  name=$2
  shift 2
  cat >"$out/tmp.seed"
  for options in "$@"; do
    { printf '%s' "$options"; cat "$out/tmp.seed"; } >"$out/$dir/$options-$name"
  done
  rm -f "$out/tmp.seed"
}

# The body of a markup file as the reader makes it: lines trimmed; comments,
# declarations and the <orvo> lines dropped; the rest joined with nothing
# between them.
body() {
  LC_ALL=C awk '
    { sub(/^[[:space:]]+/, ""); sub(/[[:space:]]+$/, "") }
    comment { if (index($0, "-->")) comment = 0; next }
    index($0, "<!--") { if (!index($0, "-->")) comment = 1; next }
    index($0, "<?") { next }
    index($0, "<orvo>") { open = 1; next }
    index($0, "</orvo>") { open = 0; next }
    open { printf "%s", $0 }' "$1"
}

for file in "$src"/examples/*/*.orv "$src"/tests/golden/cases/*/input/*.orv; do
  [ -f "$file" ] || continue
  name=$(echo "${file#"$src"/}" | tr '/' '_')
  seed fuzz_markupreader "$name" 0 1 <"$file"
  seed fuzz_convert "$name" 0 1 <"$file"
  # The conversion target has two source pages of its own: a.html and b.html.
  LC_ALL=C awk '{
      out = ""
      while (match($0, /ref="[^"]*"/)) {
        out = out substr($0, 1, RSTART - 1) "ref=\"" (++n % 2 ? "a" : "b") ".html\""
        $0 = substr($0, RSTART + RLENGTH)
      }
      print out $0
    }' "$file" | seed fuzz_convert "pages-$name" 0 1 2 3
  body "$file" | seed fuzz_tagparser "$name" 0 1
done
for file in "$src"/data/*.txt; do
  name=$(basename "$file")
  seed fuzz_tagtypetable "$name" 0 1 <"$file"
  seed fuzz_emotionmap "$name" 0 1 <"$file"
done

# Settings files: the installation's template and those of the golden cases.
for file in "$src"/data/ViewOrvo.ini.template "$src"/tests/golden/cases/*/input/settings.ini; do
  [ -f "$file" ] || continue
  name=$(echo "${file#"$src"/}" | tr '/' '_')
  seed fuzz_settings "$name" 0 1 <"$file"
done
# Source pages: the bundled tour's and those of the golden cases.
for file in "$src"/examples/*/*.html "$src"/tests/golden/cases/*/input/*.html; do
  [ -f "$file" ] || continue
  name=$(echo "${file#"$src"/}" | tr '/' '_')
  seed fuzz_pagewriter "$name" 0 1 2 3 <"$file"
done
# Argument lists (NUL between arguments) naming the fuzz target's own files.
n=0
for args in 'check a.orv' 'convert --settings ViewOrvo.ini a.orv' \
  'convert --with-player --quiet --settings=ViewOrvo.ini --message-format json -- a.orv' \
  'check --codepage shift_jis --settings ViewOrvo.ini a.orv' '--help' '--version'; do
  n=$((n + 1))
  printf '%s' "$args" | tr ' ' '\000' | seed fuzz_cli "args-$n" 0
done
# Speech texts: plain words, every speech tag, Japanese (options "4" read as
# Japanese whatever the text).
n=0
for text in 'Hello, I am Orvi.' '\Pau=500\Welcome \Emp\back.' \
  '\Spd=220\ \Pit=90\Fast and low.\Rst\ Normal.' '\Chr="Whisper"\quiet \Vol=20000\now' \
  '\Map="one two"="1 2"\ done \\ \Lst\' '今日は良い天気です。' 'カタカナとひらがな、漢字。'; do
  n=$((n + 1))
  printf '%s' "$text" | seed fuzz_speech "text-$n" 0 4
done
