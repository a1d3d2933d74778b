# Neighbours for the wizard's address proposal, laid out in the run's device namespace: the
# addresses below answer echo requests; every other address of 10.64.0.0/12 stays silent,
# because the device namespace does not forward. A logger there writes every echo request
# into that range to KIT_PROBE_LOG, one destination a line, in the order the PC sent them.
# shellcheck shell=bash

# /24 with the PC at .254; /16 carry cases from an even and an odd third byte; /26 near the
# top of its subnet; /29 where every host answers; /24 whose 10th candidate is free.
KIT_NETCASE_ANSWERING=(10.64.1.254 10.64.1.1 10.65.{4,5}.{252..254} 10.66.0.125 10.66.0.126
  10.67.0.{1..6} 10.68.0.{1..9})

kit_netcases_up() {
  local a dev
  dev=$(ip -n "$KIT_NS_DEV" -o link show type veth | awk -F'[ :@]+' '{print $2; exit}')
  for a in "${KIT_NETCASE_ANSWERING[@]}"; do printf 'address add %s/32 dev lo\n' "$a"; done |
    ip -n "$KIT_NS_DEV" -batch -
  export KIT_PROBE_LOG="$KIT_ROOT/build/probes-$$.log"
  : > "$KIT_PROBE_LOG"
  ip netns exec "$KIT_NS_DEV" python3 "$KIT_ROOT/tools/probe_log.py" "$dev" "$KIT_PROBE_LOG" &
  KIT_PROBE_LOG_PID=$!
  for _ in $(seq 50); do
    [ -s "$KIT_PROBE_LOG.ready" ] && return 0
    sleep 0.1
  done
  kit_log "probe logger did not start"; return 1
}

# The addresses go with the device namespace.
kit_netcases_down() {
  [ -n "${KIT_PROBE_LOG_PID:-}" ] || return 0
  kill "$KIT_PROBE_LOG_PID" 2>/dev/null || true
  wait "$KIT_PROBE_LOG_PID" 2>/dev/null || true
  rm -f "$KIT_PROBE_LOG" "$KIT_PROBE_LOG.ready"
  KIT_PROBE_LOG_PID=
}
