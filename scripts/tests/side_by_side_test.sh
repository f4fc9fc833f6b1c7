#!/usr/bin/env bash
# Two clones run their Windows side at the same time: both make a Wine
# prefix from one template that neither finds ready, each starts a display
# and a Wine server of its own, and (where this kernel refuses 32-bit code)
# both boot a virtual machine from one empty cache. Both must pass.
# Usage: side_by_side_test.sh ROOT BUILD
set -uo pipefail
root=$1 build=$2
source "$root/scripts/common.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export WINE_TEMPLATE=$work/template VM_CACHE=$work/vm-cache BUILD_DIR=$build
for clone in one two; do
  git clone -q --shared "$root" "$work/$clone" || exit 1
done
for clone in one two; do
  (cd "$work/$clone" && run_win32 scripts/win32-session probe \
    >"$work/$clone.log" 2>&1) &
done
status=0
for job in $(jobs -p); do
  wait "$job" || status=1
done
for clone in one two; do
  grep -q '^== probe' "$work/$clone.log" && continue
  status=1
done
if [ $status -eq 0 ]; then
  echo "runs side by side: ok"
else
  echo "runs side by side: FAILED"
  tail -n 20 "$work"/*.log
fi
exit $status
