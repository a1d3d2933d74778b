#!/usr/bin/env bash
# Fails when a program folder includes another program's folder: shared code belongs in afx/,
# frame/, devicelist/ or finderlib/.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
programs=(wizard finder netsetter guide)
bad=0
for p in "${programs[@]}"; do
  [ -d "$root/$p" ] || continue
  for q in "${programs[@]}"; do
    [ "$p" = "$q" ] && continue
    if hits=$(grep -rnE "#include[[:space:]]+[\"<]$q/" "$root/$p" 2>/dev/null); then
      printf 'layout: %s includes %s:\n%s\n' "$p" "$q" "$hits" >&2
      bad=1
    fi
  done
done
exit $bad
