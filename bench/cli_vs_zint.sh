#!/usr/bin/env bash
# Pictures per second: lorrin-cli --batch beside zint --batch, the same EAN-13 codes
# written as PNG files, one file per code, in the same run; then the same for QR codes of
# 30-character URLs, each different (error correction M, one pixel a module, both), and
# for Code 128 codes of 20 characters (one pixel a module, both).
#   bench/cli_vs_zint.sh [COUNT] [LORRIN_CLI]
# The two take turns for ROUNDS rounds (default 3); each one's best round counts, so a
# neighbour's burst on a shared machine does not decide the ratio.  lorrin-cli runs twice a
# round: on every processor (its default) and on one thread (--jobs 1).  After each pair of
# programs: CPU seconds per 1,000 pictures and the average size of their files.
set -euo pipefail

count=${1:-10000}
cli=${2:-$(dirname "$0")/../build/default/app/cli/lorrin-cli}
[ -x "$cli" ] || { echo "cli_vs_zint: build lorrin-cli first ($cli)" >&2; exit 2; }
command -v zint >/dev/null || { echo "cli_vs_zint: zint is not installed" >&2; exit 2; }

# On a RAM file system when there is one, so the figures are the programs' and not the
# disk's: creating 10,000 files on ext4 alone takes about as long as either program.
base=${BENCH_DIR:-/dev/shm}
[ -d "$base" ] && [ -w "$base" ] || base=${TMPDIR:-/tmp}
work=$(mktemp -d "$base/cli_vs_zint.XXXXXX")
trap 'rm -rf "$work"' EXIT

# Twelve digits each; both programs add the check digit.
seq -f '49%010g' 1 "$count" >"$work/codes.txt"
seq -f 'https://example.jp/item/%06g' 1 "$count" >"$work/urls.txt"
seq -f 'ITEM-%06g-LABEL-QM' 1 "$count" >"$work/code128.txt"
# An empty settings file: the defaults, whatever lies beside the program.
: >"$work/lorrin.ini"

calc() { awk "BEGIN { printf \"%.6f\", $1 }"; }
# Wall-clock, user and system seconds of one command.
timed() {
  local TIMEFORMAT='%R %U %S'
  { time "$@" >/dev/null 2>&1; } 2>&1
}

best() {  # the smaller of the best so far ("" at first) and a new time
  awk -v a="$1" -v b="$2" 'BEGIN { print (a == "" || b + 0 < a + 0) ? b : a }'
}

report() {  # name wall cpu
  printf '%-11s %6d pictures  %6.2f s wall %9.0f pictures/s   %6.2f s cpu %9.0f pictures/cpu-s\n' \
    "$1" "$count" "$2" "$(calc "$count / $2")" "$3" "$(calc "$count / $3")"
}

# The average size in bytes of the PNG files in a folder.
average_size() {
  find "$1" -name '*.png' -printf '%s\n' | awk '{ s += $1 } END { printf "%.0f", NR ? s / NR : 0 }'
}

# compare LABEL CODES "LORRIN-CLI OPTIONS" "ZINT OPTIONS": both programs' best rounds on
# the codes, and their ratio; LABEL ("" for EAN-13) names the rows.
compare() {
  local label=$1 codes=$2 lorrin_args=$3 zint_args=$4
  local lorrin_s="" lorrin_cpu="" zint_s="" zint_cpu="" one_s="" one_cpu="" wall user sys
  for _ in $(seq "${ROUNDS:-3}"); do
    rm -rf "$work/lorrin" "$work/zint" "$work/one" && mkdir "$work/lorrin" "$work/zint" "$work/one"
    # shellcheck disable=SC2086
    read -r wall user sys < <(timed "$cli" --settings "$work/lorrin.ini" $lorrin_args \
      --batch "$codes" -o "$work/lorrin/{n}.png")
    lorrin_s=$(best "$lorrin_s" "$wall") lorrin_cpu=$(best "$lorrin_cpu" "$(calc "$user + $sys")")
    # shellcheck disable=SC2086
    read -r wall user sys < <(timed "$cli" --settings "$work/lorrin.ini" $lorrin_args --jobs 1 \
      --batch "$codes" -o "$work/one/{n}.png")
    one_s=$(best "$one_s" "$wall") one_cpu=$(best "$one_cpu" "$(calc "$user + $sys")")
    # shellcheck disable=SC2086
    read -r wall user sys < <(cd "$work/zint" && timed zint --batch $zint_args \
      -i "$codes" -o "~~~~~~.png")
    zint_s=$(best "$zint_s" "$wall") zint_cpu=$(best "$zint_cpu" "$(calc "$user + $sys")")
  done

  local lorrin_files zint_files one_files
  lorrin_files=$(find "$work/lorrin" -name '*.png' | wc -l)
  zint_files=$(find "$work/zint" -name '*.png' | wc -l)
  one_files=$(find "$work/one" -name '*.png' | wc -l)
  if [ "$lorrin_files" -ne "$count" ] || [ "$zint_files" -ne "$count" ] ||
     [ "$one_files" -ne "$count" ]; then
    echo "cli_vs_zint: expected $count files each, got lorrin $lorrin_files," \
      "--jobs 1 $one_files, zint $zint_files" >&2
    exit 1
  fi
  report "lorrin-cli${label:+ $label}" "$lorrin_s" "$lorrin_cpu"
  report "zint${label:+ $label}" "$zint_s" "$zint_cpu"
  printf '%slorrin-cli / zint: %.2f wall, %.2f cpu\n' "${label:+$label }" \
    "$(calc "$zint_s / $lorrin_s")" "$(calc "$zint_cpu / $lorrin_cpu")"
  report "lorrin-cli${label:+ $label} --jobs 1" "$one_s" "$one_cpu"
  printf '%slorrin-cli --jobs 1 / zint: %.2f wall, %.2f cpu\n' "${label:+$label }" \
    "$(calc "$zint_s / $one_s")" "$(calc "$zint_cpu / $one_cpu")"
  printf '%scpu s per 1000 pictures: lorrin-cli %.3f, --jobs 1 %.3f, zint %.3f;' \
    "${label:+$label }" "$(calc "$lorrin_cpu * 1000 / $count")" \
    "$(calc "$one_cpu * 1000 / $count")" "$(calc "$zint_cpu * 1000 / $count")"
  printf ' average file: lorrin-cli %s bytes, zint %s bytes\n' \
    "$(average_size "$work/lorrin")" "$(average_size "$work/zint")"
}

compare "" "$work/codes.txt" "" "-b EANX"
compare QR "$work/urls.txt" "-t qr --ecc M" "-b QRCODE --secure=2 --scale=0.5"
compare C128 "$work/code128.txt" "-t code128a" "-b CODE128 --scale=0.5"
