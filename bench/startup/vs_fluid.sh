#!/usr/bin/env bash
# Start-up of the designer against FLUID (FLTK's form designer, Debian package `fluid`):
# time from process start to the first mapped window (the designer maps its window after
# painting its first frame), and resident memory two seconds later. Both run in turn, N
# rounds (default 7), on one Xvfb server each round; prints every round and the medians.
#   bench/startup/vs_fluid.sh [ROUNDS] [DESIGNER [ARGS...]]
set -euo pipefail
cd "$(dirname "$0")/../.."
rounds=${1:-7}
shift || true
designer=("$@")
[ ${#designer[@]} -eq 0 ] && designer=(build/designer)
timer=${MAP_TIMER:-build/map_timer}
[ -x "$timer" ] || { echo "build $timer first (cmake --build build --target map_timer)" >&2; exit 1; }
command -v fluid >/dev/null || { echo "fluid is not installed (apt-get install fluid)" >&2; exit 1; }

run() { xvfb-run -a -s "-screen 0 1280x1024x24" "$timer" -- "$@"; }

d_ms=(); d_kb=(); f_ms=(); f_kb=()
for ((i = 1; i <= rounds; i++)); do
  read -r dm dk < <(run "${designer[@]}" | sed -E 's/map_ms=([0-9.]+) rss_kb=([0-9-]+)/\1 \2/')
  read -r fm fk < <(run fluid | sed -E 's/map_ms=([0-9.]+) rss_kb=([0-9-]+)/\1 \2/')
  printf 'round %d: designer %7.1f ms %6d kB | fluid %7.1f ms %6d kB\n' "$i" "$dm" "$dk" "$fm" "$fk"
  d_ms+=("$dm"); d_kb+=("$dk"); f_ms+=("$fm"); f_kb+=("$fk")
done
median() { printf '%s\n' "$@" | sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
dm=$(median "${d_ms[@]}"); fm=$(median "${f_ms[@]}")
printf 'median: designer %s ms %s kB | fluid %s ms %s kB | time ratio %.2f\n' \
  "$dm" "$(median "${d_kb[@]}")" "$fm" "$(median "${f_kb[@]}")" "$(awk -v a="$dm" -v b="$fm" 'BEGIN {print a / b}')"
