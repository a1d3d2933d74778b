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
ls -l build/i686/bin/*.exe build/i686/bin/*.dll 2>/dev/null | grep -v _tests || true
