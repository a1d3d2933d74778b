#!/usr/bin/env bash
# kit_install against stand-in apt-get, dpkg and dpkg-query first on PATH, one machine a row:
# what is installed, whether the package lists download, which installs apt refuses.
set -uo pipefail
root=${1:?source folder}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"
cat > "$work/bin/apt-get" <<'STANDIN'
#!/usr/bin/env bash
echo "apt-get $*" >> "$STANDIN_DIR/calls"
case " $* " in
  *" update "*)
    n=$(grep -c '^apt-get.* update' "$STANDIN_DIR/calls")
    [ "$n" -gt "${STANDIN_UPDATE_FAILS:-0}" ] && exit 0
    echo "E: Failed to fetch .../binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress?" >&2
    exit 100 ;;
esac
for p in "$@"; do
  case $p in
    *:i386) fail=${STANDIN_I386_FAILS:-} ;;
    g++-mingw*) fail=${STANDIN_TOOLCHAIN_FAILS:-} ;;
    *) fail= ;;
  esac
  [ -z "$fail" ] || { echo "E: Unable to correct problems, you have held broken packages." >&2; exit 100; }
done
exit 0
STANDIN
cat > "$work/bin/dpkg-query" <<'STANDIN'
#!/usr/bin/env bash
p=${*: -1}
grep -qx "$p" "$STANDIN_DIR/installed" 2>/dev/null || { echo "dpkg-query: no packages found matching $p" >&2; exit 1; }
printf 'install ok installed'
STANDIN
cat > "$work/bin/dpkg" <<'STANDIN'
#!/usr/bin/env bash
case $1 in
  --print-foreign-architectures) cat "$STANDIN_DIR/arch" 2>/dev/null ;;
  --add-architecture) echo "$2" >> "$STANDIN_DIR/arch" ;;
esac
STANDIN
chmod +x "$work/bin/"*
export PATH="$work/bin:$PATH" STANDIN_DIR=$work

fails=0 passed=0
# row NAME "ENV..." INSTALLED(all|none|all-but-i386) ARCH-ADDED EXPECT-RC EXPECT-ARCH EXPECT-UPDATES
row() {
  local name=$1 env=$2 installed=$3 arch=$4 want_rc=$5 want_arch=$6 want_updates=$7
  rm -f "$work/calls" "$work/installed" "$work/arch" "$work/out"
  [ "$arch" = yes ] && echo i386 > "$work/arch"
  (
    source "$root/tools/kit-env.sh"
    case $installed in
      all) printf '%s\n' "${KIT_PACKAGES[@]}" > "$work/installed" ;;
      all-but-i386) printf '%s\n' "${KIT_PACKAGES[@]}" | grep -v ':i386$' > "$work/installed" ;;
    esac
    unset KIT_ARCH KIT_WINE32
    # As if the kernel ran 32-bit Wine: the choice then rests on what could be installed.
    timeout() { return 0; }
    for v in $env; do export "${v?}"; done
    set -euo pipefail   # as the README's commands run it
    kit_install
    kit_pick_arch
    echo "arch=$KIT_ARCH"
  ) > "$work/out" 2>&1
  local rc=$? got want="$want_rc $want_arch $want_updates"
  got="$rc $(sed -n 's/^arch=//p' "$work/out") $(cat "$work/calls" 2>/dev/null | grep -c '^apt-get.* update')"
  if [ "$got" = "$want" ]; then
    passed=$((passed + 1))
  else
    fails=$((fails + 1))
    echo "FAILED $name: exit, arch and updates '$got' (want '$want')"
    sed 's/^/    /' "$work/out" "$work/calls" 2>/dev/null
  fi
}

#   name                                env                                          installed     i386 rc arch   updates
row "mirror mid-sync, no 32-bit Wine"  "STANDIN_UPDATE_FAILS=9 STANDIN_I386_FAILS=1" none          no   0  x86_64 2
row "mirror synced at the second try"  "STANDIN_UPDATE_FAILS=1"                      none          no   0  i686   2
row "only 32-bit Wine missing"         "STANDIN_UPDATE_FAILS=9 STANDIN_I386_FAILS=1" all-but-i386  yes  0  x86_64 2
row "everything there"                 "STANDIN_UPDATE_FAILS=9"                      all           yes  0  i686   0
row "toolchain cannot be installed"    "STANDIN_UPDATE_FAILS=9 STANDIN_TOOLCHAIN_FAILS=1" none     yes  1  ""     2
# A refused toolchain shows apt's own words.
grep -q 'held broken packages' "$work/out" || { fails=$((fails + 1)); echo "FAILED: apt's message not shown"; }
echo "$passed passed, $fails failed"
[ "$fails" -eq 0 ]
