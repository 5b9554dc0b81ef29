#!/usr/bin/env bash
# The real tikvane program on an X display (Xvfb unless one is given), driven by keys
# and clicks through xdotool against tdxsim on 127.0.0.1:7709, the port connect.cfg's
# servers use: login through the start dialog, a second start that says the first is
# running and ends, the exit question's OK opening the day-data download, whose files
# appear, and Cancel ending the process with -1 a second later.
# Usage: tikvane_process.sh TIKVANE TDXSIM
set -euo pipefail
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s '-screen 0 1280x800x24' "$0" "$@"
fi
tikvane=$1
tdxsim=$2
# Under LeakSanitizer: what system libraries keep at exit is not ours to report.
export LSAN_OPTIONS="suppressions=$(dirname "$(readlink -f "$0")")/../support/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
command -v xdotool > /dev/null || { echo "xdotool is missing (scripts/setup installs it)"; exit 1; }

dir=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2> /dev/null || true; done
  rm -rf "$dir"
}
trap cleanup EXIT

fail() {
  echo "tikvane process: $*"
  for log in "$dir"/*.log; do echo "--- $log"; tail -20 "$log"; done
  exit 1
}
# The id of the first window with this title, waiting up to 10 s for it.
window() {
  for _ in $(seq 1 100); do
    local w
    w=$(xdotool search --name "^$1\$" 2> /dev/null | head -1 || true)
    [ -n "$w" ] && { echo "$w"; return 0; }
    sleep 0.1
  done
  return 1
}
press() { xdotool windowfocus --sync "$1" key "$2"; }
# 系统 → 退出系统: the fourth item of the first menu.
exit_by_menu() {
  xdotool mousemove --window "$1" 20 10 click 1
  sleep 0.5
  xdotool key Down Down Down Down Return
}
running() { kill -0 "$1" 2> /dev/null; }
# Waits up to $2 tenths of a second for process $1 to end; its exit status in $status.
ended() {
  for _ in $(seq 1 "$2"); do
    if ! running "$1"; then
      status=0
      wait "$1" || status=$?
      return 0
    fi
    sleep 0.1
  done
  return 1
}

for _ in $(seq 1 50); do xdotool getdisplaygeometry > /dev/null 2>&1 && break; sleep 0.1; done
xdotool getdisplaygeometry > /dev/null 2>&1 || fail "the display $DISPLAY does not answer"

cp "$tikvane" "$dir/tikvane"
"$tdxsim" --write-sample "$dir" > /dev/null
"$tdxsim" --port 7709 --at 14:30 > "$dir/tdxsim.log" 2>&1 &
pids+=($!)
for _ in $(seq 1 100); do grep -q listening "$dir/tdxsim.log" && break; sleep 0.1; done
if ! grep -q listening "$dir/tdxsim.log"; then
  echo "tikvane process: port 7709 is taken; skipped"
  exit 77
fi

"$dir/tikvane" > "$dir/first.log" 2>&1 &
first=$!
pids+=("$first")
start=$(window '登陆系统') || fail "no start dialog"
press "$start" Return  # 登陆
main=$(window 'Vexlora股票资金分析系统 V2.0.0') || fail "no main window"
for _ in $(seq 1 100); do grep -q '^ID=0' "$dir/config.ini" && break; sleep 0.1; done
grep -q '^ID=0' "$dir/config.ini" || fail "the login did not remember the server"
sleep 2  # the first snapshots and ticks

"$dir/tikvane" > "$dir/second.log" 2>&1 &
second=$!
pids+=("$second")
box=$(window '提示信息') || fail "the second start said nothing"
press "$box" Return
ended "$second" 50 || fail "the second start did not end"
[ "$status" -eq 0 ] || fail "the second start ended with $status"
running "$first" || fail "the first copy ended too"

exit_by_menu "$main"
question=$(window '提示信息') || fail "no exit question"
press "$question" Return  # OK: download the day lines first
download=$(window '盘后数据下载') || fail "no download dialog"
press "$download" Return  # 下   载
for _ in $(seq 1 100); do [ "$(ls "$dir/data" 2> /dev/null | wc -l)" -ge 5 ] && break; sleep 0.1; done
[ "$(ls "$dir/data" 2> /dev/null | wc -l)" -ge 5 ] || fail "no day files"
[ "$(stat -c %s "$dir/data/000001.dat")" -eq $((99 * 52)) ] || fail "000001.dat is not 99 records"
press "$download" Escape
sleep 0.5
running "$first" || fail "the program ended with the download dialog"

exit_by_menu "$main"
question=$(window '提示信息') || fail "no second exit question"
press "$question" Escape  # Cancel: the program ends
ended "$first" 50 || fail "the program did not end after Cancel"
[ "$status" -eq 255 ] || fail "the program ended with $status, not -1"
echo "tikvane process: all checks passed"
