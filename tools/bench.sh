#!/usr/bin/env bash
# Measures the kit's figures against their limits in the private test network and prints one
# table: minimum, median and maximum of several runs each. Usage: bash tools/bench.sh [RUNS]
set -euo pipefail
source "$(dirname "$0")/kit-env.sh"
cd "$KIT_ROOT"
runs=${1:-5}
kit_prepare
kit_session_start
bin="$KIT_ROOT/build/$KIT_ARCH/bin"
medium="$KIT_ROOT/build/$KIT_ARCH/bench-medium"
rm -rf "$medium" && cp -r "$KIT_ROOT/samples/medium" "$medium"
cp "$bin/Pellgrove.exe" "$medium/"
ln -sfn "$medium" "$WINEPREFIX/dosdevices/p:"
rows="$KIT_ROOT/build/bench-rows.txt"
: > "$rows"

devsim() {  # devsim JSON: one command to the simulator's control port
  kit_in_pc python3 - "$KIT_DEV_IP" "$KIT_DEVSIM_PORT" "$1" <<'PY'
import socket, sys
with socket.create_connection((sys.argv[1], int(sys.argv[2])), timeout=5) as s:
    s.sendall((sys.argv[3] + "\n").encode())
    if not s.makefile().readline().startswith("OK"):
        sys.exit("the device simulator refused: " + sys.argv[3])
PY
}

probe() { (cd "$bin" && kit_in_pc "$KIT_WINE" kitbench.exe "$@" 2>/dev/null | tr -d '\r'); }

# measure NAME LIMIT UNIT-FACTOR COMMAND...: runs COMMAND $runs times; each run prints "value count".
measure() {
  local name=$1 limit=$2 i out values="" counts=""
  shift 2
  for i in $(seq "$runs"); do
    out=$("$@") || { kit_log "$name: run $i failed"; continue; }
    values+="${out%% *} "; counts+="${out##* } "
  done
  python3 - "$name" "$limit" "$values" "$counts" >> "$rows" <<'PY'
import statistics, sys
name, limit, values, counts = sys.argv[1], sys.argv[2], sys.argv[3].split(), sys.argv[4].split()
if not values:
    print(f"| {name} | failed | | | {limit} |"); sys.exit()
v = sorted(float(x) for x in values)
c = sorted(set(counts))
extra = f" ({'/'.join(c)} found)" if c != ["1"] else ""
print(f"| {name}{extra} | {v[0]:.2f} s | {statistics.median(v):.2f} s | {v[-1]:.2f} s | {limit} |")
PY
  tail -1 "$rows" >&2
}

for n in 1 10 50; do
  devsim "{\"cmd\":\"load\",\"generate\":{\"count\":$n}}"
  measure "search, $n simulated device(s)" "5 s listening window, 10 s wait" probe search
done
devsim '{"cmd":"load","faults":{"burst":1000,"late_ms":5400}}'
measure "search, burst of 1,000 answers per request" "50 records, at most 11 s" probe search
devsim '{"cmd":"reset"}'
# The main menu is the window with the quick button (IDC_QUICK).
measure "wizard start to visible main menu" "aim 0.5 s" probe window 'P:\Pellgrove.exe' 1047
# The guide with the sample pictures beside it, as the wizard installs it; its page window holds
# the Next button, and shows once all 60 pictures are loaded.
guide="$medium/Guide"
mkdir -p "$guide" && cp "$bin/Marrowick.exe" "$guide/" && cp -r "build/$KIT_ARCH/guide-art/Marrowick" "$guide/"
measure "guide start to first page, 60 pictures loaded" "aim 0.5 s" \
  probe window "$(winepath_w "$guide/Marrowick.exe") DV-N210 1" 1046
# The proposal case whose tenth candidate is the first silent address (the network tests' table).
proposal() {
  local ms
  ms=$(cd "$bin" && kit_in_pc "$KIT_WINE" wizard_network_tests.exe --gtest_filter='AddressProposal.*' 2>/dev/null |
    tr -d '\r' | sed -n 's/^10\.68\.0\.1: \([0-9]*\) ms for 10 probes$/\1/p')
  [ -n "$ms" ] && python3 -c "print(f'{$ms / 1000:.3f} 1')"
}
measure "address proposal, tenth candidate free" "9 round trips + one 1 s time-out" proposal
if [ -f "$bin/Quentari.exe" ]; then
  devsim '{"cmd":"load","generate":{"count":50}}'
  measure "network setter start to a list of 50 devices" "one search" \
    probe list 50 "$(winepath_w "$bin/Quentari.exe")"
  # The network tests' DHCP setup prints both: OK in the password dialog to the logon's first
  # copy on the wire, and OK in the setting dialog to the setup's. The logon row runs it; the
  # setup row takes the setup figures of those runs.
  setter_figures="$KIT_ROOT/build/bench-setter.txt"
  : > "$setter_figures"
  setter_logon() {
    local out
    out=$(cd "$bin" && kit_in_pc "$KIT_WINE" netsetter_network_tests.exe \
      --gtest_filter='QuentariNetwork.DhcpSetup*' 2>/dev/null | tr -d '\r')
    sed -n 's/^\[measure\] setup: OK to the first copy on the wire: \([0-9.]*\) s$/\1 1/p' <<<"$out" >> "$setter_figures"
    sed -n 's/^\[measure\] logon: OK to the first copy on the wire: \([0-9.]*\) s$/\1 1/p' <<<"$out" | grep .
  }
  setter_setup() { head -1 "$setter_figures" | grep . && sed -i 1d "$setter_figures"; }
  measure "network setter logon, OK to the first copy on the wire" "1 s (threads' start)" setter_logon
  measure "network setter setup, OK to the first copy on the wire" "4 s (1 s + 2 s + threads' start)" setter_setup
fi

echo
echo "Measured $(date -u +%Y-%m-%d) on $(nproc) cores, $KIT_ARCH build under $(basename "$KIT_WINE"), $runs runs each."
echo
echo "| figure | min | median | max | limit |"
echo "|---|---|---|---|---|"
cat "$rows"
for f in Pellgrove.exe Marrowick.exe Lorrick.exe Tavik.dll Quentari.exe; do
  [ -f "build/i686/bin/$f" ] && echo "| size of $f (i686) | $(stat -c %s "build/i686/bin/$f") bytes | | | |"
done
exit 0
