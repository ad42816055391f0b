#!/usr/bin/env bash
# Symbol sizes in modules: lorrin-cli's two-dimensional codes beside zint's for the same
# texts and error correction.  Ours must never be larger; the script fails when one is.
#   bench/matrix_sizes.sh [LORRIN_CLI]
set -euo pipefail

cli=${1:-$(dirname "$0")/../build/default/app/cli/lorrin-cli}
[ -x "$cli" ] || { echo "matrix_sizes: build lorrin-cli first ($cli)" >&2; exit 2; }
command -v zint >/dev/null || { echo "matrix_sizes: zint is not installed" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
: >"$work/lorrin.ini"

# name|text; zint is given ECI 26 for the texts that go as UTF-8 (it would pick a smaller
# single-byte ECI of its own for some).
texts=(
  "digits|01234567890123456789012345678901234567890123456789"
  "alphanumerics|HELLO WORLD 1234567890 \$%*+-./:"
  "url|https://example.com/labels?id=4901234567894&lot=7"
  "ascii symbols|!\"#\$%&'()*+,-./:;<=>?@[]^_\`{|}~ mixed Text 123"
  "kanji and kana|日本語のラベル、かな・カナ・漢字の混在テキスト"
  "half-width kana|ﾊﾞｰｺｰﾄﾞ ﾗﾍﾞﾙ ｶﾀｶﾅ"
  "mixed modes|ABC123456789012345678abc漢字DEF"
  "outside Shift_JIS|Grüße aus Köln ① 😀"
  "long digits|$(printf '%0300d' 7)"
)

# Width x height of zint's symbol: its SVG at half scale is one unit a module.
zint_size() {  # symbology options... -- text
  local svg
  svg=$(zint --direct --filetype=svg --scale=0.5 "$@" 2>/dev/null) || { echo "-"; return; }
  sed -n 's/.*<svg width="\([0-9]*\)" height="\([0-9]*\)".*/\1x\2/p' <<<"$svg" | head -n1
}
ours_size() {  # options... -- text
  "$cli" --settings "$work/lorrin.ini" --widths "$@" 2>/dev/null | head -n1 || true
}
area() { awk -F x '{ print ($1 == "" || $2 == "") ? -1 : $1 * $2 }' <<<"$1"; }

larger=0
printf '%-18s %-10s %10s %10s\n' text code lorrin zint
for row in "${texts[@]}"; do
  name=${row%%|*} text=${row#*|}
  eci=()
  if LC_ALL=C grep -q '[^ -~]' <<<"$text" && ! iconv -f UTF-8 -t SHIFT_JIS <<<"$text" >/dev/null 2>&1; then
    eci=(--eci=26)
  fi
  for level in L M Q H; do
    secure=$(( $(expr index LMQH "$level") ))
    ours=$(ours_size -t qr --ecc "$level" -- "$text")
    theirs=$(zint_size -b QRCODE --secure="$secure" "${eci[@]}" -d "$text")
    printf '%-18s %-10s %10s %10s\n' "$name" "QR-$level" "$ours" "$theirs"
    [ "$(area "$ours")" -le "$(area "$theirs")" ] || larger=$((larger + 1))
  done
  dm_eci=()
  LC_ALL=C grep -q '[^ -~]' <<<"$text" && dm_eci=(--eci=26)
  ours=$(ours_size -t datamatrix -- "$text")
  theirs=$(zint_size -b DATAMATRIX --square "${dm_eci[@]}" -d "$text")
  printf '%-18s %-10s %10s %10s\n' "$name" "DataMatrix" "$ours" "$theirs"
  [ "$(area "$ours")" -le "$(area "$theirs")" ] || larger=$((larger + 1))
  ours=$(ours_size -t pdf417 -- "$text")
  theirs=$(zint_size -b PDF417 "${dm_eci[@]}" -d "$text")
  printf '%-18s %-10s %10s %10s\n' "$name" "PDF417" "$ours" "$theirs"
  [ "$(area "$ours")" -le "$(area "$theirs")" ] || larger=$((larger + 1))
done
if [ "$larger" -gt 0 ]; then
  echo "matrix_sizes: $larger of ours larger than zint's" >&2
  exit 1
fi
echo "matrix_sizes: none of ours larger than zint's"
