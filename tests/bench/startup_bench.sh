#!/usr/bin/env bash
# Runs startup_bench.exe under Wine, then reads the proportional memory (PSS) of the Wine
# processes of brevio.exe and bare_window.exe, which it leaves idle, from /proc.
#   startup_bench.sh WINE_STATE WINE_RUN BENCH_EXE
set -euo pipefail
state=$1 wine_run=$2 bench=$3
out=$(mktemp) && fifo=$(mktemp -u) && mkfifo "$fifo"
trap 'exec 3>&-; rm -f "$out" "$fifo"' EXIT
"$wine_run" "$state" "$bench" <"$fifo" >"$out" &
bench_pid=$!
exec 3>"$fifo"  # the bench ends when this closes

# The Linux process whose command line holds the Windows path of an exe started from `folder`.
pss_kib() {
  local folder=$1 exe=$2 pid
  for pid in /proc/[0-9]*; do
    tr '\0' ' ' <"$pid/cmdline" 2>/dev/null | grep -qiF "${folder}\\${exe}" || continue
    awk '/^Pss:/ {print $2}' "$pid/smaps_rollup"
    return 0
  done
  echo "no process for $exe" >&2
  return 1
}

for _ in $(seq 600); do
  [ "$(grep -c '^idle ' "$out")" -ge 2 ] && break
  kill -0 "$bench_pid" 2>/dev/null || break
  sleep 1
done
grep -v '^idle ' "$out" | tr -d '\r'
if [ "$(grep -c '^idle ' "$out")" -lt 2 ]; then
  echo "FAIL: the programs never became idle"; exit 1
fi
brevio_dir=$(sed -n 's/^idle brevio //p' "$out" | tr -d '\r')
bare_dir=$(sed -n 's/^idle bare //p' "$out" | tr -d '\r')
brevio_kib=$(pss_kib "$brevio_dir" brevio.exe)
bare_kib=$(pss_kib "$bare_dir" bare_window.exe)
exec 3>&-
wait "$bench_pid"
awk -v b="$brevio_kib" -v w="$bare_kib" 'BEGIN {
  printf "PSS once idle: brevio (in the tray) %.1f MiB, bare %.1f MiB, difference %.1f MiB\n", b/1024, w/1024, (b-w)/1024 }'
