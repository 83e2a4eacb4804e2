#!/usr/bin/env bash
# Batch code generation against FLUID (FLTK's form designer, Debian package `fluid`): a form
# of N buttons in the designer's own source (one window, N ButtonGadget lines) and in a FLUID
# .fl file, for N = 1,000 and 10,000; `designer --generate X.pb -o out.pb` and `fluid -c X.fl`
# run in turn, ROUNDS rounds (default 5). Prints every round, the medians, the designer's time
# as a share of FLUID's and the growth from 1,000 to 10,000 buttons.
#   bench/generate/vs_fluid.sh [ROUNDS]      (DESIGNER=path picks the program, build/designer)
set -euo pipefail
export LC_ALL=C
cd "$(dirname "$0")/../.."
rounds=${1:-5}
designer=$(realpath "${DESIGNER:-build/designer}")
[ -x "$designer" ] || { echo "build $designer first" >&2; exit 1; }
command -v fluid >/dev/null || { echo "fluid is not installed (apt-get install fluid)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The designer's source for one window holding N buttons, lines ending in CR LF.
make_pb() {
  local n=$1
  awk -v n="$n" 'BEGIN {
    ORS = "\r\n"
    print "EnableExplicit"; print ""; print "Define Event"; print ""
    print "Global Window_0=-1"; print ""
    for (i = 0; i < n; i++) print "Global Button_" i "=-1"
    print ""
    print "Procedure Open_Window_0()"
    print "  Window_0 = OpenWindow(#PB_Any, 10, 10, 900, 700, \"Window_0\", #PB_Window_SystemMenu)"
    for (i = 0; i < n; i++)
      printf "  Button_%d = ButtonGadget(#PB_Any, %d, %d, 80, 25, \"Button_%d\")\r\n", i, 10 + (i % 10) * 85, 10 + int(i / 10) % 25 * 27, i
    print "EndProcedure"; print ""
    print "CompilerIf #PB_Compiler_IsMainFile"
    print "  Open_Window_0()"; print ""
    print "  While IsWindow(Window_0)"
    print "    Event = WaitWindowEvent()"; print ""
    print "    Select Event"
    print "       Case #PB_Event_CloseWindow"
    print "         CloseWindow(EventWindow())"
    print "    EndSelect"; print ""
    print "    Select EventWindow()"
    print "      Case Window_0"
    print "    EndSelect"
    print "  Wend"
    print "CompilerEndIf"
  }'
}

# The same form for FLUID: one window with N buttons.
make_fl() {
  local n=$1
  awk -v n="$n" 'BEGIN {
    print "# data file for the Fltk User Interface Designer (fluid)"
    print "version 1.0308"; print "header_name {.h}"; print "code_name {.cxx}"
    print "Function {make_window()} {open\n} {"
    print "  Fl_Window {} {open\n    xywh {10 10 900 700} type Double visible\n  } {"
    for (i = 0; i < n; i++)
      printf "    Fl_Button {} {\n      label {Button_%d}\n      xywh {%d %d 80 25}\n    }\n", i, 10 + (i % 10) * 85, 10 + int(i / 10) % 25 * 27
    print "  }"; print "}"
  }'
}

# Milliseconds the command takes, its output thrown away.
ms() {
  local start=$EPOCHREALTIME
  "$@" >/dev/null
  local end=$EPOCHREALTIME
  awk -v a="$start" -v b="$end" 'BEGIN { printf "%.1f", (b - a) * 1000 }'
}
median() { printf '%s\n' "$@" | sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

cd "$work"
declare -A dmed fmed
for n in 1000 10000; do
  make_pb "$n" >"form$n.pb"
  make_fl "$n" >"form$n.fl"
  d=(); f=()
  for ((i = 1; i <= rounds; i++)); do
    dm=$(ms "$designer" --generate "form$n.pb" -o out.pb)
    fm=$(ms fluid -c "form$n.fl")
    printf 'N=%5d round %d: designer %8.1f ms | fluid %8.1f ms\n' "$n" "$i" "$dm" "$fm"
    d+=("$dm"); f+=("$fm")
  done
  dmed[$n]=$(median "${d[@]}"); fmed[$n]=$(median "${f[@]}")
  printf 'N=%5d median: designer %s ms | fluid %s ms | designer/fluid %.2f | out.pb %d bytes\n' \
    "$n" "${dmed[$n]}" "${fmed[$n]}" "$(awk -v a="${dmed[$n]}" -v b="${fmed[$n]}" 'BEGIN {print a / b}')" \
    "$(wc -c <out.pb)"
done
printf 'growth 1,000 -> 10,000: designer x%.2f | fluid x%.2f\n' \
  "$(awk -v a="${dmed[10000]}" -v b="${dmed[1000]}" 'BEGIN {print a / b}')" \
  "$(awk -v a="${fmed[10000]}" -v b="${fmed[1000]}" 'BEGIN {print a / b}')"
