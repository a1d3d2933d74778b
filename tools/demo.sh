#!/usr/bin/env bash
# Installs what is missing, builds the kit, and runs its main job on the sample medium.
set -euo pipefail
source "$(dirname "$0")/kit-env.sh"
cd "$KIT_ROOT"
kit_install
kit_pick_arch
kit_build i686
[ "$KIT_ARCH" = i686 ] || kit_build "$KIT_ARCH"
kit_log "deliverables: $KIT_ROOT/build/i686/bin"
ls -l build/i686/bin/*.exe build/i686/bin/*.dll 2>/dev/null | grep -vE '_tests|_e2e|version_' || true

# The main job: the wizard started from the root of the sample medium, mapped to drive P:.
kit_wine_env
cleanup() {
  kit_wine_stop kit_in_pc
  kit_net_down
  [ -z "${KIT_XVFB_PID:-}" ] || kill "$KIT_XVFB_PID" 2>/dev/null || true
}
trap cleanup EXIT
kit_net_up
kit_xvfb_start
kit_wine_start kit_in_pc
medium="$KIT_ROOT/build/$KIT_ARCH/demo-medium"
rm -rf "$medium" && cp -r "$KIT_ROOT/samples/medium" "$medium"
cp "$KIT_ROOT/build/$KIT_ARCH/bin/Pellgrove.exe" "$medium/"
ln -sfn "$medium" "$WINEPREFIX/dosdevices/p:"
mkdir -p "$KIT_ROOT/build/demo"
kit_log "starting P:\\Pellgrove.exe ($KIT_ARCH build) on display $DISPLAY"
(cd "$medium" && kit_in_pc "$KIT_WINE" 'P:\Pellgrove.exe' >/dev/null 2>&1) &
wizard=$!
sleep 5
shot="$KIT_ROOT/build/demo/pellgrove.png"
import -window root "$shot" && kit_log "screenshot: $shot"
[ -d "$WINEPREFIX/drive_c/ProgramData/Ostrand/Pellgrove" ] && kit_log "support folder: C:\\ProgramData\\Ostrand\\Pellgrove"
kill -0 "$wizard" 2>/dev/null && kit_log "the wizard is running; closing its window"
kit_in_pc "$KIT_WINE" taskkill /im Pellgrove.exe >/dev/null 2>&1 || true
for _ in $(seq 50); do kill -0 "$wizard" 2>/dev/null || break; sleep 0.2; done
if kill -0 "$wizard" 2>/dev/null; then kit_log "the wizard did not end"; exit 1; fi
code=0; wait "$wizard" || code=$?
kit_log "the wizard ended with exit code $code"
