# The steps of tools/demo.sh and their helpers. Each step_<id> runs with errexit in a subshell
# of its own; what later steps need lies in files (the medium, the simulator, build/demo).
# shellcheck shell=bash

DEMO_BIN="$KIT_ROOT/build/$KIT_ARCH/bin"
DEMO_DIR="$KIT_ROOT/build/demo"
DEMO_MEDIUM="$KIT_ROOT/build/$KIT_ARCH/demo-medium"
DEMO_SUPPORT="$WINEPREFIX/drive_c/ProgramData/Ostrand/Pellgrove"
DEMO_DESKTOP="$WINEPREFIX/drive_c/users/$(id -un)/Desktop"
DEMO_RECORD="$DEMO_DIR/opened.txt"
DEMO_PASSWORD=dorvane
DEMO_NEW_NAME=HOLLIN-NEW
DEMO_NEW_IP=$KIT_NET_PREFIX.50
DEMO_HTTP_PORT=8765
DEMO_MAC=02:00:00:00:00:01

# Conditions of the step table.
have() {
  case $1 in
    bin/*) [ -e "$DEMO_BIN/${1#bin/}" ] ;;
    guide-art) [ -d "$KIT_ROOT/build/$KIT_ARCH/guide-art/Marrowick" ] ;;
    *) [ -e "$KIT_ROOT/$1" ] ;;
  esac
}
defines() { grep -rqw "$1" "$KIT_ROOT/$2"; }

demo_seconds() { local cs=$(( ($(date +%s%N) - $1) / 10000000 )); printf "%d.%02d" $((cs / 100)) $((cs % 100)); }

# drive [-t SECONDS] COMMAND WINDOW ...: one action of the window driver, its line into the log
# with the time it ended; value WINDOW ID: the text of a control.
# One driver serves the whole run through two FIFOs: a program start costs more than an action.
kitdrive_start() {
  rm -f "$DEMO_DIR/kd.in" "$DEMO_DIR/kd.out" && mkfifo "$DEMO_DIR/kd.in" "$DEMO_DIR/kd.out"
  (cd "$DEMO_BIN" && kit_in_pc "$KIT_WINE" kitdrive.exe serve <"$DEMO_DIR/kd.in" >"$DEMO_DIR/kd.out" 2>/dev/null &)
  exec {KD_W}>"$DEMO_DIR/kd.in" {KD_R}<"$DEMO_DIR/kd.out"
}
kitdrive() {
  local line IFS=$'\t'
  printf '%s\n' "$*" >&"$KD_W"
  # Every wait of the driver has its own limit; this one only guards against a lost driver.
  while read -r -t 300 line <&"$KD_R"; do
    line=${line%$'\r'}
    case $line in
      =*) return "${line#=}" ;;
      *) printf '%s\n' "$line" ;;
    esac
  done
  echo "kitdrive: no answer"; return 1
}
drive() {
  local out rc=0
  out=$(kitdrive "$@") || rc=$?
  printf '%s %s\n' "$(date +%T.%2N)" "$out"
  return $rc
}
value() { kitdrive get "$@"; }

# shot [-t SECONDS] WINDOW NAME CAPTION: the window as build/demo/sNN-NAME.png, listed on the
# index page.
shot() {
  local base limit=()
  [ "$1" = -t ] && { limit=(-t "$2"); shift 2; }
  base=$(printf 's%02d-%s' "$DEMO_STEP" "$2")
  drive "${limit[@]}" shot "$1" "$(winepath_w "$DEMO_DIR/$base.bmp")"
  printf '%s|%s\n' "$base.png" "step $DEMO_STEP: $3" >> "$DEMO_DIR/shots.txt"
}

# The text of a control, polled until it is TEXT (non-ASCII texts pass through the shell).
wait_text() {
  local i
  for i in $(seq $(( $4 * 5 ))); do
    [ "$(value "$1" "$2")" = "$3" ] && { echo "text: $2 shows \"$3\""; return 0; }
    sleep 0.2
  done
  echo "text: $2 shows \"$(value "$1" "$2")\", not \"$3\""; return 1
}

# start DIR PROGRAM [ARGS...]: a program of the kit in the PC namespace, in the background.
start() {
  local dir=$1; shift
  echo "$(date +%T.%2N) start: $*"
  (cd "$dir" && kit_in_pc "$KIT_WINE" "$@" >/dev/null 2>&1 &)
}

devsim() {
  kit_in_pc python3 - "$KIT_DEV_IP" "$KIT_DEVSIM_PORT" "$1" <<'PY'
import socket, sys
with socket.create_connection((sys.argv[1], int(sys.argv[2])), timeout=5) as s:
    s.sendall((sys.argv[3] + "\n").encode())
    f = s.makefile()
    head = f.readline().strip()
    if not head.startswith("OK"):
        sys.exit("the device simulator refused: " + sys.argv[3])
    for _ in range(int(head[3:] or 0)):
        print(f.readline().strip())
PY
}

# The value of a key of a UTF-16 profile file.
ini_value() { iconv -f UTF-16 -t UTF-8 "$1" | tr -d '\r' | sed -n "s/^$2=//p" | head -1; }

# The URL the finder opened, waited for.
opened_url() {
  local i
  for i in $(seq 250); do [ -s "$DEMO_RECORD" ] && break; sleep 0.1; done
  [ -s "$DEMO_RECORD" ] || { echo "the finder opened nothing"; return 1; }
  cut -d' ' -f2- "$DEMO_RECORD" | tr -d '"\r' | sed 's|/$||'
}

# The medium as it ships: the sample files, the wizard under both names and the support files
# the product configuration names; the firmware server for part two; the browser stand-in.
demo_prepare() {
  local m=$DEMO_MEDIUM
  rm -rf "$m" && cp -r "$KIT_ROOT/samples/medium" "$m"
  for f in Pellgrove.exe PellgroveUSB.exe; do [ -e "$DEMO_BIN/$f" ] && cp "$DEMO_BIN/$f" "$m/"; done
  mkdir -p "$m/Support/Finder" "$m/Support/Guide" "$m/Support/Files" "$m/Support/Other" "$m/Support/Soft"
  for f in Lorrick.exe Tavik.dll; do [ -e "$DEMO_BIN/$f" ] && cp -n "$DEMO_BIN/$f" "$m/Support/Finder/"; done
  for f in Dorvane WebSetup Vantry2; do
    [ -e "$m/Support/Finder/$f.ico" ] || cp "$KIT_ROOT/resources/lorrick/lorrick.ico" "$m/Support/Finder/$f.ico"
  done
  [ -e "$DEMO_BIN/Marrowick.exe" ] && cp -n "$DEMO_BIN/Marrowick.exe" "$m/Support/Guide/"
  [ -d "$KIT_ROOT/build/$KIT_ARCH/guide-art/Marrowick" ] && cp -rn "$KIT_ROOT/build/$KIT_ARCH/guide-art/Marrowick" "$m/Support/Guide/"
  [ -e "$m/Support/Files/readme.txt" ] || echo "Ostrand storage kit support files" > "$m/Support/Files/readme.txt"
  [ -e "$m/Support/Other/license.txt" ] || echo "Ostrand storage kit" > "$m/Support/Other/license.txt"
  [ -e "$m/Manual.pdf" ] || printf '%s\n' '%PDF-1.1' '1 0 obj<</Type/Catalog/Pages 2 0 R>>endobj' \
    '2 0 obj<</Type/Pages/Kids[]/Count 0>>endobj' 'trailer<</Root 1 0 R>>' '%%EOF' > "$m/Manual.pdf"
  # Part two downloads its firmware from a server on 127.0.0.1 of the PC namespace.
  local fw="$KIT_ROOT/build/$KIT_ARCH/demo-firmware"
  mkdir -p "$fw"
  head -c 300000 /dev/urandom > "$fw/DV-N210.bin"
  printf '<firmware model="DV-N210" version="1.20"/>\n' > "$fw/DV-N210.xml"
  kit_in_pc python3 -m http.server --bind 127.0.0.1 --directory "$fw" "$DEMO_HTTP_PORT" >/dev/null 2>&1 &
  { printf '\xff\xfe'; iconv -f UTF-16 -t UTF-8 "$KIT_ROOT/samples/medium/PellgroveUSB.dat" |
      sed -e "s|^Show_DownloadFW=.*|Show_DownloadFW=on\r|" \
          -e "s|^Fw_Url1=.*|Fw_Url1=http://127.0.0.1:$DEMO_HTTP_PORT/DV-N210.bin\r|" \
          -e "s|^Fw_Xml1=.*|Fw_Xml1=http://127.0.0.1:$DEMO_HTTP_PORT/DV-N210.xml\r|" |
      iconv -f UTF-8 -t UTF-16LE; } > "$m/PellgroveUSB.dat.new"
  mv "$m/PellgroveUSB.dat.new" "$m/PellgroveUSB.dat"
  ln -sfn "$m" "$WINEPREFIX/dosdevices/p:"
  # The device on the network: a storage device named as the medium's settings file names it.
  devsim "{\"cmd\":\"load\",\"devices\":[{\"name\":\"$(ini_value "$m/Pellgrove.ini" name)\",\"kind\":4,\
\"mac\":\"$DEMO_MAC\",\"ip\":\"$KIT_DEV_IP\",\"mask\":\"255.255.255.0\",\"password\":\"$DEMO_PASSWORD\"}]}" >/dev/null
  [ -e "$DEMO_BIN/shell_recorder.exe" ] && kit_in_pc "$KIT_WINE" reg add 'HKCR\http\shell\open\command' /ve \
    /d "\"$(winepath_w "$DEMO_BIN/shell_recorder.exe")\" \"%1\"" /f >/dev/null 2>&1
  : > "$DEMO_DIR/shots.txt"
  kitdrive_start
}

# demo_index SUMMARY-LINE...: the index page, the summary of the steps and every screenshot in
# the order taken, with its caption.
demo_index() {
  local bmp
  for bmp in "$DEMO_DIR"/*.bmp; do [ -e "$bmp" ] && printf '%s\0' "$bmp"; done |
    xargs -0 -r -P "$(nproc)" -I{} sh -c 'convert "$1" "${1%.bmp}.png" && rm -f "$1"' _ {}
  {
    printf '<!DOCTYPE html>\n<html><head><meta charset="utf-8"><title>Ostrand storage kit: the demo</title>\n'
    printf '<style>body{font-family:sans-serif;margin:2em}figure{display:inline-block;margin:1em;vertical-align:top}'
    printf 'figcaption{max-width:640px}</style></head><body>\n<h1>The road of one quick setup</h1>\n'
    printf '<p>%s, %s build under %s</p>\n<ul>\n' "$(date -u '+%Y-%m-%d %H:%M UTC')" "$KIT_ARCH" "$(basename "$KIT_WINE")"
    printf '<li>%s</li>\n' "$@"
    printf '</ul>\n'
    while IFS='|' read -r file caption; do
      printf '<figure><img src="%s" alt=""><figcaption>%s</figcaption></figure>\n' "$file" "$caption"
    done < "$DEMO_DIR/shots.txt"
    printf '</body></html>\n'
  } > "$DEMO_DIR/index.html"
}

WIZ=exe=Pellgrove.exe
USB=exe=PellgroveUSB.exe
NET=exe=Quentari.exe

# Ends what an earlier part left running: one copy of the wizard at a time.
stop_programs() {
  local p
  kit_in_pc "$KIT_WINE" taskkill /f $(printf '/im %s ' "$@") >/dev/null 2>&1 || true
  for p in "$@"; do drive -t 5 ended "$p" >/dev/null || true; done
}

step_menu() {
  start "$DEMO_MEDIUM" 'P:\Pellgrove.exe'
  drive wait "$WIZ"
  shot "$WIZ" menu "the wizard's main menu"
}

step_quick() {
  drive click "$WIZ,has=1047" 1047
  drive wait "$WIZ,has=1138"
  echo "proposal: DHCP \"$(value "$WIZ,has=1138" 1057)\", address \"$(value "$WIZ,has=1138" 1059)\""
  shot "$WIZ,has=1138" confirm "the confirmation page with the proposed settings"
}

step_settings() {
  drive click "$WIZ,has=1138" 1138
  drive wait "$WIZ,has=1139"
  shot "$WIZ,has=1139" settings "the settings page"
  drive click "$WIZ,has=1139" 1
  drive wait "$WIZ,has=1138"
}

step_complete() {
  drive click "$WIZ,has=1138" 1
  if [ "$(ini_value "$DEMO_MEDIUM/Pellgrove.dat" Show_Guide)" != on ]; then
    drive wait "$WIZ,has=1142"
    shot "$WIZ,has=1142" end "the end page"
    drive click "$WIZ,has=1142" 2
  fi
  drive ended Pellgrove.exe
  local desktop="$DEMO_DESKTOP" name
  name=$(ini_value "$DEMO_MEDIUM/Pellgrove.ini" name)
  ls "$desktop"
  [ -e "$desktop/$name WEB setting screen.lnk" ] && [ -e "$desktop/Manual.pdf" ]
  [ -e "$DEMO_SUPPORT/Lorrick.exe" ] && [ -d "$DEMO_SUPPORT/Guide" ]
  echo "settings file: $(iconv -f UTF-16 -t UTF-8 "$DEMO_MEDIUM/Pellgrove.ini" | tr -d '\r' | tr '\n' ' ')"
}

step_guide() {
  local win="exe=Marrowick.exe,has=1046" pages i
  if [ ! -e "$DEMO_SUPPORT/Guide/Marrowick.exe" ]; then
    # Without the wizard's completion the guide starts from the medium, as the wizard would.
    mkdir -p "$DEMO_SUPPORT" && cp -r "$DEMO_MEDIUM/Support/Guide" "$DEMO_SUPPORT/"
    start "$DEMO_SUPPORT" 'C:\ProgramData\Ostrand\Pellgrove\Guide\Marrowick.exe' \
      "$(ini_value "$DEMO_MEDIUM/Pellgrove.dat" Model)" 1
  fi
  drive wait "$win"
  pages=$(find "$DEMO_SUPPORT/Guide/Marrowick" -maxdepth 1 -iname 'GUIDE[0-9]*.bmp' | wc -l)
  # Mode 1 (a shortcut or the manual was chosen) shows every page, mode 0 all but the first.
  echo "guide: $pages pages"
  shot "$win" guide01 "the guide, page 1"
  for i in $(seq 2 "$pages"); do
    drive click "$win" 1046
    shot "$win" "$(printf 'guide%02d' "$i")" "the guide, page $i"
  done
  drive click "exe=Marrowick.exe,has=1135" 1135
  drive ended Marrowick.exe
}

step_finder() {
  local link name url
  name=$(ini_value "$DEMO_MEDIUM/Pellgrove.ini" name)
  link="$DEMO_DESKTOP/$name WEB setting screen.lnk"
  rm -f "$DEMO_RECORD"
  if [ -e "$link" ]; then
    echo "start: the desktop's $(basename "$link")"
    (cd "$DEMO_BIN" && LORRICK_RECORD="$(winepath_w "$DEMO_RECORD")" kit_in_pc "$KIT_WINE" start /unix "$link" \
      >/dev/null 2>&1)
  else
    # Without the wizard's completion there is no shortcut: the finder starts as it would start it.
    LORRICK_RECORD="$(winepath_w "$DEMO_RECORD")" start "$DEMO_BIN" Lorrick.exe setting "$name"
  fi
  shot -t 4 exe=Lorrick.exe finder "Lorrick.exe searching for $name" || true
  url=$(opened_url)
  echo "opened: $url"
  [ "$url" = "http://$KIT_DEV_IP" ]
}

step_netlist() {
  start "$DEMO_BIN" Quentari.exe
  drive find "$NET,has=1010" 1010 "$KIT_DEV_IP"
  shot "$NET,has=1010" netlist "Quentari.exe with the device found"
}

step_logon() {
  drive cell "$NET,has=1010" 1010 0 -1 3
  drive wait "$NET,has=1033"
  drive text "$NET,has=1033" 1033 "$DEMO_PASSWORD"
  shot "$NET,has=1033" password "the logon password"
  drive click "$NET,has=1033" 1
  drive -t 30 wait "$NET,has=1019"
  shot "$NET,has=1019" devsetting "the device setting dialog"
}

step_setup() {
  local win="$NET,has=1019"
  drive click "$win" 1007
  drive ip "$win" 1019 "$DEMO_NEW_IP"
  drive ip "$win" 1020 255.255.255.0
  drive ip "$win" 1005 "$KIT_NET_PREFIX.254"
  drive text "$win" 1076 "$DEMO_NEW_NAME"
  drive text "$win" 1077 WORKGROUP
  shot "$win" newsetting "the new address and name"
  drive click "$win" 1
  drive gone "$win"
  # The setter says that the device takes a while to restart, then searches until the list
  # shows it again.
  drive -t 30 msgbox "$NET"
  drive -t 90 find "$NET,has=1010" 1010 "$DEMO_NEW_IP"
  # The device keeps its name and workgroup as "name@workgroup".
  devsim '{"cmd":"devices"}' | tee "$DEMO_DIR/device.txt"
  grep "\"$DEMO_NEW_NAME@WORKGROUP\"" "$DEMO_DIR/device.txt" | grep -q "\"$DEMO_NEW_IP\""
  shot "$NET,has=1010" netdone "Quentari.exe after the setup"
  drive click "$NET,has=1012" 1012
  drive ended Quentari.exe
}

step_refind() {
  local url dir=$DEMO_SUPPORT
  [ -e "$dir/Lorrick.exe" ] || dir=$DEMO_BIN
  rm -f "$DEMO_RECORD"
  LORRICK_RECORD="$(winepath_w "$DEMO_RECORD")" start "$dir" Lorrick.exe setting "$DEMO_NEW_NAME"
  shot -t 4 exe=Lorrick.exe refind "Lorrick.exe searching for $DEMO_NEW_NAME" || true
  url=$(opened_url)
  echo "opened: $url"
  [ "$url" = "http://$DEMO_NEW_IP" ]
}

step_usbmenu() {
  stop_programs Pellgrove.exe Marrowick.exe Quentari.exe Lorrick.exe
  start "$DEMO_MEDIUM" 'P:\PellgroveUSB.exe'
  drive wait "$USB"
  shot "$USB" usbmenu "the wizard on a USB stick: main menu"
}

step_usbsettings() {
  drive click "$USB,has=1047" 1047
  drive wait "$USB,has=1139"
  shot "$USB,has=1139" usbsettings "USB-stick mode starts on the settings page"
  drive click "$USB,has=1139" 1
  drive wait "$USB,has=1140"
  shot "$USB,has=1140" usbpage "the USB page"
}

step_firmware() {
  local page="$USB,has=1140" fw="$KIT_ROOT/build/$KIT_ARCH/demo-firmware" f
  drive check "$page" 1091 1
  drive click "$page" 1091
  drive -t 2 msgbox "$USB" || true
  drive click "$page" 1
  drive wait "$USB,has=1075"
  wait_text "$USB,has=1075" 1051 "完了" 30
  shot "$USB,has=1075" firmware "the firmware download, completed"
  drive click "$USB,has=1075" 1
  if [ "$(ini_value "$DEMO_MEDIUM/PellgroveUSB.dat" Show_Guide)" != on ]; then
    drive wait "$USB,has=1142"
    shot "$USB,has=1142" usbend "the end page"
    drive click "$USB,has=1142" 2
  fi
  drive ended PellgroveUSB.exe
  # USB-stick mode starts the guide in mode 0, without its first page.
  if [ -e "$DEMO_SUPPORT/Guide/Marrowick.exe" ]; then
    shot "exe=Marrowick.exe,has=1135" usbguide "the guide after the USB-stick setup (mode 0)"
    drive click "exe=Marrowick.exe,has=1135" 1135
    drive ended Marrowick.exe
  fi
  for f in DV-N210.bin DV-N210.xml; do cmp "$fw/$f" "$DEMO_MEDIUM/$f" && echo "firmware: P:\\$f as served"; done
}
