#!/usr/bin/env bash
# Start-up and memory of the desktop application, connected to the device simulator:
# runs quarrant-liquid --device tcp:ADDR N times (default 10) with QUARRANT_STARTUP_PROBE=1,
# which prints the time from process start to the first painted window and the resident
# memory (VmHWM, VmRSS) at that moment, then quits. Prints median and max and compares them
# with the aims (0.5 s, 120 MB). A report only: missing an aim does not fail.
# Offscreen platform by default; STARTUP_BENCH_XVFB=1 runs under Xvfb. BUILD_DIR: build.
set -euo pipefail
cd "$(dirname "$0")/.."
RUNS=${1:-10}
BUILD_DIR=${BUILD_DIR:-build}
if [ ! -f "$BUILD_DIR/build.ninja" ] && [ ! -f "$BUILD_DIR/Makefile" ]; then
  cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} >/dev/null
fi
cmake --build "$BUILD_DIR" --parallel "${JOBS:-$(nproc)}" --target quarrant-liquid quarrant-devsim >/dev/null

. scripts/devsim-lib.sh
WORK=$(mktemp -d)
trap 'devsim_stop; rm -rf "$WORK"' EXIT INT TERM
devsim_start "$BUILD_DIR/src/quarrant-devsim" "$WORK"

APP="$BUILD_DIR/src/quarrant-liquid"
# Settings of a fresh user, so the runs neither read nor change the caller's.
export XDG_CONFIG_HOME="$WORK/config"
export QUARRANT_STARTUP_PROBE=1
if [ "${STARTUP_BENCH_XVFB:-0}" = 1 ]; then
  LAUNCH=(xvfb-run -a -s "-screen 0 1280x1024x24")
else
  export QT_QPA_PLATFORM=offscreen
  LAUNCH=()
fi

: >"$WORK/results"
for i in $(seq 1 "$RUNS"); do
  if ! timeout 60 "${LAUNCH[@]}" "$APP" --device "tcp:$DEVSIM_ADDR" 2>"$WORK/run.err" >/dev/null; then
    echo "run $i: quarrant-liquid failed:" >&2
    cat "$WORK/run.err" >&2
    continue
  fi
  line=$(grep '^startup-probe:' "$WORK/run.err" || true)
  if [ -z "$line" ]; then
    echo "run $i: no probe line" >&2
    continue
  fi
  ms=$(sed -n 's/.*first-window-ms=\([0-9.]*\).*/\1/p' <<<"$line")
  hwm=$(sed -n 's/.*vmhwm-kb=\([0-9-]*\).*/\1/p' <<<"$line")
  rss=$(sed -n 's/.*vmrss-kb=\([0-9-]*\).*/\1/p' <<<"$line")
  echo "$ms $hwm $rss" >>"$WORK/results"
done

n=$(wc -l <"$WORK/results")
if [ "$n" -eq 0 ]; then
  echo "startup-bench: no run produced a measurement" >&2
  exit 1
fi

# median and max of column $1 of the results
stats() {
  cut -d' ' -f"$1" "$WORK/results" | sort -g | awk '{ v[NR] = $1 } END {
    m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2; print m, v[NR] }'
}
read -r ms_med ms_max < <(stats 1)
read -r hwm_med hwm_max < <(stats 2)
read -r rss_med rss_max < <(stats 3)
verdict() { awk -v v="$1" -v aim="$2" 'BEGIN { print (v < aim) ? "within the aim" : "OVER the aim" }'; }

echo "quarrant-liquid --device tcp:$DEVSIM_ADDR, $n runs (${QT_QPA_PLATFORM:-xvfb})"
printf 'first window shown: median %.1f ms, max %.1f ms  (aim < 500 ms: %s)\n' "$ms_med" "$ms_max" "$(verdict "$ms_max" 500)"
printf 'peak resident (VmHWM): median %.1f MB, max %.1f MB  (aim < 120 MB: %s)\n' \
  "$(awk -v k="$hwm_med" 'BEGIN { print k / 1024 }')" "$(awk -v k="$hwm_max" 'BEGIN { print k / 1024 }')" \
  "$(verdict "$(awk -v k="$hwm_max" 'BEGIN { print k / 1024 }')" 120)"
printf 'resident at first window (VmRSS): median %.1f MB, max %.1f MB\n' \
  "$(awk -v k="$rss_med" 'BEGIN { print k / 1024 }')" "$(awk -v k="$rss_max" 'BEGIN { print k / 1024 }')"
