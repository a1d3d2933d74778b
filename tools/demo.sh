#!/usr/bin/env bash
# Installs what is missing, builds the kit, and walks its main job end to end on the sample
# medium and a simulated device in the private test network: one line per step with its time,
# a screenshot of every screen in build/demo/ and an index page that shows them in order.
set -euo pipefail
source "$(dirname "$0")/kit-env.sh"
cd "$KIT_ROOT"
demo_t0=$(date +%s%N)
kit_prepare
kit_session_start
source tools/demo/steps.sh

# One row per step: id | steps that must have passed | what must be in the tree or the build
# (a shell condition; false: the step is not built yet) | caption. Step ids name the functions
# step_<id> in tools/demo/steps.sh.
DEMO_STEPS=(
  "menu||have bin/Pellgrove.exe|Pellgrove.exe starts from the sample medium (P:) and shows its main menu"
  "quick|menu|have wizard/PellgroveDialog_QuickConfirm.cpp|quick button: checks, address proposal, confirmation page"
  "settings|quick|have wizard/PellgroveDialog_Quick.cpp|the confirmation page's setting button opens the settings page; OK returns"
  "complete|settings|defines CreateShellShortcut wizard|completion: support files, desktop shortcuts and manual; the settings file is written"
  "guide||have bin/Marrowick.exe && have guide-art|the guide starts in the mode the wizard chose and is paged to its end"
  "finder||have bin/Lorrick.exe|the desktop's \"setting\" shortcut starts Lorrick.exe, which finds the device and opens its web page"
  "netlist||have bin/Quentari.exe && have netsetter/DeviceTable.cpp|Quentari.exe lists the device"
  "logon|netlist|have netsetter/LoginPasswordDlg.cpp|Quentari.exe logs on to the device with its password"
  "setup|logon|have netsetter/DeviceSettingDlg.cpp|Quentari.exe gives the device a new static address and name"
  "refind|setup|have bin/Lorrick.exe|Lorrick.exe finds the device again under its new address"
  "usbmenu||have bin/PellgroveUSB.exe|part two: PellgroveUSB.exe starts from the medium and shows its main menu"
  "usbsettings|usbmenu|have wizard/PellgroveDialog_QuickConfirm_Usb.cpp|quick button: the settings page, then the USB page"
  "firmware|usbsettings|defines CFwDownload wizard|completion with firmware download from a local HTTP server (127.0.0.1)"
)

mkdir -p build/demo && rm -f build/demo/*.png build/demo/*.bmp build/demo/*.txt build/demo/index.html
DEMO_LOG="$KIT_ROOT/build/demo/actions.txt"
: > "$DEMO_LOG"
demo_prepare
walk_t0=$(date +%s%N)
declare -A passed=()
summary=() failed=0 n=0
for row in "${DEMO_STEPS[@]}"; do
  IFS='|' read -r id after needs caption <<<"$row"
  n=$((n + 1))
  DEMO_STEP=$n
  missing=""
  for dep in $after; do [ -n "${passed[$dep]:-}" ] || missing+=" $dep"; done
  if ! eval "$needs"; then
    result="(not built yet)"
  elif [ -n "$missing" ]; then
    result="(skipped: needs step${missing})"
  else
    printf '== step %d: %s\n' "$n" "$caption" >> "$DEMO_LOG"
    t0=$(date +%s%N)
    # In the background so that errexit holds inside the step (an if would switch it off).
    (set -e; "step_$id") >> "$DEMO_LOG" 2>&1 </dev/null &
    if wait $!; then
      result="ok ($(demo_seconds "$t0") s)"; passed[$id]=1
    else
      result="FAILED ($(demo_seconds "$t0") s)"; failed=$((failed + 1))
    fi
  fi
  line="step $n: $caption ... $result"
  echo "$line"
  [[ $result == FAILED* ]] && sed -n "/^== step $n:/,\$p" "$DEMO_LOG" | tail -n +2 | tail -8 | sed 's/^/    /'
  summary+=("$line")
done
demo_index "${summary[@]}"
echo
echo "Summary ($KIT_ARCH build under $(basename "$KIT_WINE"); the walk took $(demo_seconds "$walk_t0") s," \
  "$(demo_seconds "$demo_t0") s with build and set-up; screenshots: build/demo/index.html):"
printf '  %s\n' "${summary[@]}"
echo "  $(grep -c '\.\.\. ok' <<<"$(printf '%s\n' "${summary[@]}")") passed, $failed failed," \
  "$(grep -c 'not built yet' <<<"$(printf '%s\n' "${summary[@]}")") not built yet"
[ "$failed" -eq 0 ]
