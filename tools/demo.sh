#!/usr/bin/env bash
# Installs what is missing, builds the kit, and runs its main job on the sample medium.
set -euo pipefail
source "$(dirname "$0")/kit-env.sh"
cd "$KIT_ROOT"
kit_prepare
kit_log "deliverables: $KIT_ROOT/build/i686/bin"
for f in Pellgrove.exe PellgroveUSB.exe Marrowick.exe Lorrick.exe Tavik.dll; do ls -l "build/i686/bin/$f"; done

# The main job, part one: the wizard started from the root of the sample medium (drive P:).
kit_session_start
medium="$KIT_ROOT/build/$KIT_ARCH/demo-medium"
rm -rf "$medium" && cp -r "$KIT_ROOT/samples/medium" "$medium"
cp "$KIT_ROOT/build/$KIT_ARCH/bin/Pellgrove.exe" "$medium/"
# The finder travels with the product icon on the medium.
cp "$KIT_ROOT/build/$KIT_ARCH/bin/Lorrick.exe" "$KIT_ROOT/build/$KIT_ARCH/bin/Tavik.dll" "$medium/Support/Finder/"
# The guide folder the product configuration names (GuideFolderPath): the guide and its pictures.
guide="$medium/Support/Guide"
mkdir -p "$guide" && cp "$KIT_ROOT/build/$KIT_ARCH/bin/Marrowick.exe" "$guide/"
cp -r "$KIT_ROOT/build/$KIT_ARCH/guide-art/Marrowick" "$guide/"
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

# Part two: the device named in the medium's settings file is on the network (simulated in the
# device namespace), and the finder, started as the wizard's "setting" shortcut starts it, finds
# it and opens its web page. A recorder stands in for the browser and notes what was opened.
name=$(iconv -f UTF-16 -t UTF-8 "$medium/Pellgrove.ini" | tr -d '\r' | sed -n 's/^name=//p')
kit_in_pc python3 - "$KIT_DEV_IP" "$KIT_DEVSIM_PORT" "$name" <<'EOF'
import json, socket, sys
ip, port, name = sys.argv[1], int(sys.argv[2]), sys.argv[3]
device = {"name": name, "mac": "02:00:00:00:00:01", "ip": ip, "mask": "255.255.255.0"}
with socket.create_connection((ip, port), timeout=5) as s:
    s.sendall((json.dumps({"cmd": "load", "devices": [device]}) + "\n").encode())
    if not s.makefile().readline().startswith("OK"):
        sys.exit("the device simulator refused the device")
EOF
kit_log "simulated device \"$name\" at $KIT_DEV_IP"
bin="$KIT_ROOT/build/$KIT_ARCH/bin"
record="$KIT_ROOT/build/demo/opened.txt"
rm -f "$record"
kit_in_pc "$KIT_WINE" reg add 'HKCR\http\shell\open\command' /ve \
  /d "\"$(winepath_w "$bin/shell_recorder.exe")\" \"%1\"" /f >/dev/null 2>&1
kit_log "starting Lorrick.exe setting $name"
t0=$(date +%s%N)
(cd "$bin" && LORRICK_RECORD="$(winepath_w "$record")" kit_in_pc "$KIT_WINE" Lorrick.exe setting "$name" \
  >/dev/null 2>&1) || true
for _ in $(seq 50); do [ -s "$record" ] && break; sleep 0.1; done
if [ ! -s "$record" ]; then kit_log "the finder opened nothing"; exit 1; fi
kit_log "the finder opened $(cut -d' ' -f2- "$record") after $(( ($(date +%s%N) - t0) / 1000000 )) ms"

# Part three: the setup guide from the medium's guide folder, started as the wizard's last act
# starts it (the model and start mode 1), with the product folder as working folder.
model=$(iconv -f UTF-16 -t UTF-8 "$medium/Pellgrove.dat" | tr -d '\r' | sed -n 's/^Model=//p' | head -1)
kit_log "starting P:\\Support\\Guide\\Marrowick.exe $model 1"
(cd "$medium" && kit_in_pc "$KIT_WINE" 'P:\Support\Guide\Marrowick.exe' "$model" 1 >/dev/null 2>&1) &
guide_pid=$!
sleep 4
shot="$KIT_ROOT/build/demo/marrowick.png"
import -window root "$shot" && kit_log "screenshot: $shot"
kit_in_pc "$KIT_WINE" taskkill /im Marrowick.exe >/dev/null 2>&1 || true
for _ in $(seq 50); do kill -0 "$guide_pid" 2>/dev/null || break; sleep 0.2; done
if kill -0 "$guide_pid" 2>/dev/null; then kit_log "the guide did not end"; exit 1; fi
kit_log "the guide ended"
