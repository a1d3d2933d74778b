#!/usr/bin/env bash
# Builds the native fuzz targets (tests/fuzz) and runs each for the seconds given (default 20):
# first its kept regressions as plain inputs, then fuzzing from the seeds, the regressions and
# the corpus kept from earlier runs. Fails on any finding; its input lands in build/fuzz/findings.
# The targets run one after another, each on one core.
#   bash tools/fuzz.sh [seconds per target, 0: the regressions only] [target ...]
#   bash tools/fuzz.sh --budget SECONDS [target ...]   SECONDS in all, split evenly among the targets
set -euo pipefail
source "$(dirname "$0")/kit-env.sh"
cd "$KIT_ROOT"
budget=
if [ "${1:-}" = --budget ]; then
  budget=${2:?--budget takes the seconds of the whole run}
  shift 2
else
  seconds=${1:-20}
  shift || true
fi
# The fuzz step's own tools; the cross build does not need them.
KIT_PACKAGES=(clang libclang-rt-14-dev cmake ninja-build python3 python3-pil fonts-dejavu-core fonts-wqy-microhei)
kit_install
out="$KIT_ROOT/build/fuzz"
if [ ! -f "$out/build.ninja" ]; then
  cmake -S tests/fuzz -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ >/dev/null
fi
if ! cmake --build "$out" >"$out/build.log" 2>&1; then
  tail -40 "$out/build.log" >&2; kit_log "fuzz build failed"; exit 1
fi
# Debian's interpreter: python3-pil (the GIF seeds) is installed for it.
rm -rf "$out/seeds" && /usr/bin/python3 tests/fuzz/make_seeds.py "$out/seeds"
targets=("$@")
[ ${#targets[@]} -gt 0 ] || mapfile -t targets <"$out/targets.txt"
if [ -n "$budget" ]; then
  seconds=$(( budget / ${#targets[@]} ))
  [ "$budget" -le 0 ] || [ "$seconds" -gt 0 ] || seconds=1
  kit_log "fuzz: ${budget} s split among ${#targets[@]} targets, ${seconds} s each"
fi
failed=0
for t in "${targets[@]}"; do
  regressions="tests/fuzz/regressions/$t"
  mkdir -p "$regressions" "$out/corpus/$t" "$out/findings/$t"
  mapfile -t kept < <(find "$regressions" -type f ! -name '.*' | sort)
  if [ ${#kept[@]} -gt 0 ] && ! "$out/fuzz_$t" "${kept[@]}" >"$out/$t.regressions.log" 2>&1; then
    tail -30 "$out/$t.regressions.log" >&2; kit_log "fuzz $t: a kept regression fails again"; failed=1; continue
  fi
  if [ "$seconds" -le 0 ]; then kit_log "fuzz $t: ${#kept[@]} regressions pass"; continue; fi
  log="$out/$t.log"
  if ! "$out/fuzz_$t" -max_total_time="$seconds" -print_final_stats=1 -timeout=10 -rss_limit_mb=2048 \
      -artifact_prefix="$out/findings/$t/" "$out/corpus/$t" "$out/seeds/$t" "$regressions" >"$log" 2>&1; then
    grep -E 'ERROR|FUZZ_CHECK|SUMMARY|Test unit written' "$log" | head -10 >&2
    kit_log "fuzz $t: finding (fix it, then keep the input in $regressions)"; failed=1; continue
  fi
  execs=$(grep -oE 'stat::average_exec_per_sec: *[0-9]+' "$log" | grep -oE '[0-9]+$' || echo 0)
  cov=$(grep -oE 'cov: [0-9]+ ft: [0-9]+' "$log" | tail -1)
  # Edges of the product's functions that the corpus reaches: those whose source lies in the
  # kit outside tests/fuzz, whatever types they take (sanitizer report branches count as edges
  # too and are never taken).
  reach=$("$out/fuzz_$t" -runs=0 -print_coverage=1 "$out/corpus/$t" 2>&1 | grep -E '^(UN)?COVERED_FUNC' |
    awk -v root="$KIT_ROOT/" '{split($NF, at, ":")} index(at[1], root) != 1 || index(at[1], root "tests/fuzz/") {next}
      {split($5, e, "/"); if ($1 == "COVERED_FUNC:") {c += e[1]; n += e[2]; r++} else u++}
      END {printf "%d of %d edges in the %d product functions reached, %d not reached", c, n, r, u}')
  kit_log "MEASURE fuzz $t: ${#kept[@]} regressions pass; ${seconds} s, $execs execs/s, $cov; $reach; corpus $(find "$out/corpus/$t" -type f | wc -l)"
done
exit $failed
