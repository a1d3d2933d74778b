# Sourced by demo.sh and test.sh: installs what a Debian 12 machine lacks, builds the kit,
# and runs a private Wine (prefix, wineserver, Xvfb) inside the build tree.
# shellcheck shell=bash

KIT_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
KIT_PACKAGES=(g++-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
  cmake make ninja-build googletest wine wine64 wine32:i386 libwine:i386 fonts-wine
  xvfb xauth x11-apps imagemagick python3 python3-pil iproute2 fonts-dejavu-core
  fonts-wqy-microhei)

kit_log() { printf '== %s\n' "$*" >&2; }

source "$KIT_ROOT/tools/netcases.sh"

# Installs only the packages that are missing, so a second run costs nothing. A package list
# that fails to download (a mirror mid-sync) is tried once more, then the lists there are serve.
# 32-bit Wine is the one thing the kit can do without: when it cannot be installed, one line
# says so and the run takes the 64-bit path (KIT_WINE32=no). Anything else that cannot be
# installed stops the run with apt's own message.
kit_install() {
  local missing=() wine32=() p update=0
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386 || true
    update=1
  fi
  for p in "${KIT_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' && continue
    case $p in *:i386) wine32+=("$p") ;; *) missing+=("$p") ;; esac
  done
  [ $(( ${#missing[@]} + ${#wine32[@]} )) -eq 0 ] && return 0
  kit_log "installing: ${missing[*]} ${wine32[*]}"
  export DEBIAN_FRONTEND=noninteractive
  if [ $update -eq 1 ] || ! kit_apt_install "${missing[@]}" "${wine32[@]}" >/dev/null 2>&1; then
    apt-get update -qq >/dev/null 2>&1 || apt-get update -qq >&2 ||
      kit_log "some package lists could not be updated; going on with the lists there are"
    # apt's own message goes to the terminal; its progress does not.
    if ! kit_apt_install "${missing[@]}" >/dev/null; then
      kit_log "cannot install: ${missing[*]}"; return 1
    fi
    if [ ${#wine32[@]} -gt 0 ] && ! kit_apt_install "${wine32[@]}" >/dev/null 2>&1; then
      kit_log "32-bit Wine cannot be installed here (${wine32[*]}): testing the 64-bit build under 64-bit Wine"
      KIT_WINE32=no
    fi
  fi
  return 0
}

kit_apt_install() {
  [ $# -eq 0 ] || apt-get install -y -qq --no-install-recommends "$@"
}

# The deliverables are 32-bit. Some kernels cannot run 32-bit Linux code, so 32-bit Wine
# does not start there; the tests then run a 64-bit build of the same sources in 64-bit Wine.
kit_pick_arch() {
  if [ -n "${KIT_ARCH:-}" ]; then :
  elif [ "${KIT_WINE32:-}" = no ]; then KIT_ARCH=x86_64
  elif timeout 20 /usr/lib/wine/wine --version >/dev/null 2>&1; then KIT_ARCH=i686
  else KIT_ARCH=x86_64
  fi
  if [ "$KIT_ARCH" = i686 ]; then
    KIT_WINE=/usr/lib/wine/wine; KIT_WINEARCH=win32
  else
    KIT_WINE=/usr/lib/wine/wine64; KIT_WINEARCH=win64
  fi
  export KIT_ARCH KIT_WINE
}

# kit_build ARCH: configures once, then builds incrementally.
kit_build() {
  local arch=$1 dir="$KIT_ROOT/build/$1"
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$KIT_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$KIT_ROOT/cmake/toolchain-$arch.cmake" -DKIT_WINE="$KIT_WINE" >/dev/null
  fi
  local log="$dir/build.log"
  if ! cmake --build "$dir" -- -j"$(nproc)" >"$log" 2>&1; then
    grep -vE '^\[[0-9]+/[0-9]+\] ' "$log" | tail -60 >&2
    kit_log "build of $arch failed"; return 1
  fi
}

# The Wine environment of one run: its own prefix, HOME and display, nothing of the user's.
kit_wine_env() {
  KIT_W="$KIT_ROOT/build/$KIT_ARCH/wine"
  mkdir -p "$KIT_W/home"
  export HOME="$KIT_W/home" XDG_DATA_HOME="$KIT_W/home/.local/share" XDG_CONFIG_HOME="$KIT_W/home/.config"
  export WINEPREFIX="$KIT_W/pfx" WINEARCH=$KIT_WINEARCH WINEDEBUG=-all WINELOADER=$KIT_WINE
  export WINEDLLOVERRIDES="mscoree=d;mshtml=d;winemenubuilder.exe=d"
  export WINESERVER=/usr/lib/wine/wineserver64
  [ "$KIT_ARCH" = i686 ] && WINESERVER=/usr/lib/wine/wineserver32
  [ -x "$WINESERVER" ] || WINESERVER=$(command -v wineserver)
}

# Starts Xvfb on a free display; its PID goes to KIT_XVFB_PID.
kit_xvfb_start() {
  local n
  for n in $(seq 77 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    KIT_XVFB_PID=$!
    # Another run may have taken the same number a moment before: the lock names the server.
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && [ -s "/tmp/.X$n-lock" ] && break; sleep 0.1; done
    if kill -0 "$KIT_XVFB_PID" 2>/dev/null && [ "$(tr -d ' \n' < "/tmp/.X$n-lock" 2>/dev/null)" = "$KIT_XVFB_PID" ]; then
      export DISPLAY=":$n"; return 0
    fi
    kill "$KIT_XVFB_PID" 2>/dev/null || true
  done
  kit_log "no free X display"; return 1
}

# kit_wine_start [PREFIX-CMD...]: a persistent wineserver and wineboot, optionally run through
# a wrapper (ip netns exec NAME) so the server lives where the tests live.
kit_wine_start() {
  local fresh=0
  [ -f "$WINEPREFIX/system.reg" ] || fresh=1
  # The persistent server refuses a prefix folder that does not exist yet.
  mkdir -p "$WINEPREFIX"
  "$@" "$WINESERVER" -p >/dev/null 2>&1 &
  "$@" "$KIT_WINE" wineboot </dev/null >/dev/null 2>&1
  if [ $fresh -eq 1 ]; then
    # CJK dialog fonts map to the installed WenQuanYi face.
    cat > "$KIT_W/fonts.reg" <<'EOF'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"MS UI Gothic"="WenQuanYi Micro Hei"
"MS Gothic"="WenQuanYi Micro Hei"
"SimSun"="WenQuanYi Micro Hei"
"PMingLiU"="WenQuanYi Micro Hei"
"Microsoft YaHei"="WenQuanYi Micro Hei"
"MingLiU"="WenQuanYi Micro Hei"

; No window manager runs here: unmanaged windows hide at once instead of after a 2 s wait.
[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"
EOF
    "$@" "$KIT_WINE" regedit /S "$(winepath_w "$KIT_W/fonts.reg")" </dev/null >/dev/null 2>&1
  fi
}

kit_wine_stop() {
  "$@" "$WINESERVER" -k >/dev/null 2>&1 || true
}

# Unix path to the Z: path Wine sees it under.
winepath_w() { printf 'Z:%s' "${1//\//\\}"; }

# The private test network: a PC namespace and a device namespace joined by a veth pair,
# named and addressed uniquely for this run. Every Wine process that may send broadcasts,
# port-65 datagrams or ICMP echo runs inside KIT_NS_PC; nothing of it reaches the real network.
kit_net_up() {
  local id=$(( $$ % 200 + 20 ))
  KIT_NS_PC=kit$$pc; KIT_NS_DEV=kit$$dv
  KIT_NET_PREFIX=10.231.$id
  KIT_PC_IP=$KIT_NET_PREFIX.2; KIT_DEV_IP=$KIT_NET_PREFIX.1
  export KIT_NS_PC KIT_NS_DEV KIT_NET_PREFIX KIT_PC_IP KIT_DEV_IP
  ip netns add "$KIT_NS_PC"
  ip netns add "$KIT_NS_DEV"
  ip link add "kv$$p" type veth peer name "kv$$d"
  ip link set "kv$$p" netns "$KIT_NS_PC"
  ip link set "kv$$d" netns "$KIT_NS_DEV"
  ip -n "$KIT_NS_PC" addr add "$KIT_PC_IP/24" brd "$KIT_NET_PREFIX.255" dev "kv$$p"
  ip -n "$KIT_NS_DEV" addr add "$KIT_DEV_IP/24" brd "$KIT_NET_PREFIX.255" dev "kv$$d"
  local n
  for n in "$KIT_NS_PC" "$KIT_NS_DEV"; do ip -n "$n" link set lo up; done
  ip -n "$KIT_NS_PC" link set "kv$$p" up
  ip -n "$KIT_NS_DEV" link set "kv$$d" up
  ip -n "$KIT_NS_PC" route add default via "$KIT_DEV_IP"
  ip -n "$KIT_NS_DEV" route add default via "$KIT_PC_IP"
  mkdir -p "/etc/netns/$KIT_NS_PC"
  printf 'nameserver %s\noptions timeout:1 attempts:1\n' "$KIT_DEV_IP" > "/etc/netns/$KIT_NS_PC/resolv.conf"
  # Two names for the finder's ping: one held by the device namespace, one that nobody holds.
  printf '127.0.0.1 localhost\n%s lrkping\n%s.77 lrkquiet\n' "$KIT_DEV_IP" "$KIT_NET_PREFIX" \
    > "/etc/netns/$KIT_NS_PC/hosts"
}

kit_net_down() {
  [ -n "${KIT_NS_PC:-}" ] || return 0
  ip netns pids "$KIT_NS_DEV" 2>/dev/null | xargs -r kill 2>/dev/null || true
  ip netns pids "$KIT_NS_PC" 2>/dev/null | xargs -r kill 2>/dev/null || true
  ip netns del "$KIT_NS_PC" 2>/dev/null || true
  ip netns del "$KIT_NS_DEV" 2>/dev/null || true
  rm -rf "/etc/netns/$KIT_NS_PC"
}

# Starts the device simulator in the device namespace: UDP 65 there, its control port on
# KIT_DEV_IP:KIT_DEVSIM_PORT for the tests in the PC namespace.
kit_devsim_start() {
  KIT_DEVSIM_PORT=${KIT_DEVSIM_PORT:-6565}
  export KIT_DEVSIM_PORT
  local log="$KIT_ROOT/build/devsim.log"
  mkdir -p "$KIT_ROOT/build"
  ip netns exec "$KIT_NS_DEV" python3 "$KIT_ROOT/tools/devsim/devsim.py" --ip "$KIT_DEV_IP" \
    --control-port "$KIT_DEVSIM_PORT" >"$log" 2>&1 &
  KIT_DEVSIM_PID=$!
  for _ in $(seq 50); do
    grep -q 'devsim ready' "$log" 2>/dev/null && return 0
    kill -0 "$KIT_DEVSIM_PID" 2>/dev/null || break
    sleep 0.1
  done
  kit_log "device simulator did not start"; cat "$log" >&2; return 1
}

kit_devsim_stop() {
  [ -n "${KIT_DEVSIM_PID:-}" ] || return 0
  kill "$KIT_DEVSIM_PID" 2>/dev/null || true
  wait "$KIT_DEVSIM_PID" 2>/dev/null || true
  KIT_DEVSIM_PID=
}

# Runs a command inside the PC namespace.
kit_in_pc() { ip netns exec "$KIT_NS_PC" "$@"; }

# Installs what is missing, builds the deliverables and the build that runs here, and sets up
# the Wine environment for it.
kit_prepare() {
  kit_install
  kit_pick_arch
  kit_build i686
  [ "$KIT_ARCH" = i686 ] || kit_build "$KIT_ARCH"
  kit_wine_env
}

# One run's world: the private network with the device simulator, a display, and a fresh prefix
# whose wineserver lives in the PC namespace. It all goes when the script exits.
kit_session_start() {
  trap kit_session_end EXIT
  kit_net_up
  kit_devsim_start
  kit_netcases_up
  kit_xvfb_start
  rm -rf "$WINEPREFIX"   # nothing a run registered or mapped outlives it
  kit_wine_start kit_in_pc
}

kit_session_end() {
  kit_wine_stop kit_in_pc
  kit_devsim_stop
  kit_netcases_down
  kit_net_down
  [ -z "${KIT_XVFB_PID:-}" ] || kill "$KIT_XVFB_PID" 2>/dev/null || true
}
