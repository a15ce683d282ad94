# Sourced by the helper scripts: starts the device simulator on the first loopback address
# where TCP port 7734 is free.
#   devsim_start SIM_BINARY WORK_DIR   sets DEVSIM_PID and DEVSIM_ADDR, or returns 1
#   devsim_stop                        ends the simulator started here
DEVSIM_PID=""
DEVSIM_ADDR=""

devsim_start() {
  local sim=$1 work=$2 a
  for a in 127.0.0.2 127.0.0.3 127.0.0.4 127.0.0.5 127.0.0.6 127.0.0.7 127.0.0.8 127.0.0.1; do
    "$sim" --tcp "$a" >"$work/sim.out" 2>"$work/sim.err" &
    DEVSIM_PID=$!
    for _ in $(seq 1 50); do
      if grep -q '^ready' "$work/sim.out" 2>/dev/null; then break; fi
      if ! kill -0 "$DEVSIM_PID" 2>/dev/null; then break; fi
      sleep 0.1
    done
    if grep -q '^ready' "$work/sim.out" 2>/dev/null; then DEVSIM_ADDR=$a; return 0; fi
    devsim_stop
  done
  echo "the device simulator did not start:" >&2
  cat "$work/sim.err" >&2
  return 1
}

devsim_stop() {
  if [ -n "$DEVSIM_PID" ]; then
    kill "$DEVSIM_PID" 2>/dev/null || true
    wait "$DEVSIM_PID" 2>/dev/null || true
    DEVSIM_PID=""
  fi
}
