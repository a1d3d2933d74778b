#!/usr/bin/env bash
# Installs what is missing, builds the kit, and runs every test under Wine inside a
# private network that exists only for this run.
set -euo pipefail
source "$(dirname "$0")/kit-env.sh"
cd "$KIT_ROOT"
start=$(date +%s)
bash tools/check-layout.sh
kit_prepare
kit_log "testing the $KIT_ARCH build under $KIT_WINE"
kit_session_start
export KIT_SOURCE_DIR="$KIT_ROOT" KIT_BUILD_DIR="$KIT_ROOT/build/$KIT_ARCH"
# The wizard's end-to-end tests run it from the root of a drive of its own (P:).
mkdir -p "$KIT_BUILD_DIR/medium" && ln -sfn "$KIT_BUILD_DIR/medium" "$WINEPREFIX/dosdevices/p:"
export KIT_MEDIUM_DRIVE=P:
# Native fuzzing beside the Wine tests, on one core: the kept regressions always, fuzzing itself
# when the whole suite runs, 120 s in all (KIT_FUZZ_SECONDS) split evenly among the targets.
fuzz_args=(0)
[ $# -gt 0 ] || fuzz_args=(--budget "${KIT_FUZZ_SECONDS:-120}")
bash tools/fuzz.sh "${fuzz_args[@]}" >"$KIT_ROOT/build/fuzz.log" 2>&1 &
fuzz_pid=$!
kit_in_pc ctest --test-dir "$KIT_BUILD_DIR" --output-on-failure -j"$(nproc)" "$@"
if ! wait "$fuzz_pid"; then
  cat "$KIT_ROOT/build/fuzz.log" >&2; kit_log "fuzzing failed"; exit 1
fi
grep -E 'MEASURE|regressions pass' "$KIT_ROOT/build/fuzz.log" >&2 || true
kit_log "done in $(( $(date +%s) - start )) s"
