#!/usr/bin/env bash
# End-to-end scenarios on the real keyvane.exe under Wine: start it in a prepared folder,
# drive it from outside, and check what a user would see (pixels) and what it leaves on disk.
# Usage: tests/e2e/run.sh <win64 build dir> [scenario file...]
# Without scenario files every *_scenarios.sh here runs, in the order below. Expects Wine and a
# display (scripts/wine-env.sh). The last line reads "<passed> passed, <failed> failed".
set -uo pipefail
build="$(cd "${1:?usage: run.sh <win64 build dir> [scenario file...]}" && pwd)"
shift
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=lib.sh
source "$here/lib.sh"
mkdir -p "$work"
# A Keyvane left running in this prefix (by a run cut short) would hold the single-instance
# mutex and stand in for every program started here.
while pid="$(keyvane_linux_pid)" && [ -n "$pid" ]; do
  note "ending a keyvane.exe left running in this prefix ($pid)"
  kill "$pid" 2>/dev/null
  sleep 0.5
done

scenarios=("$@")
[ ${#scenarios[@]} -gt 0 ] || scenarios=("$here/core_scenarios.sh" "$here/slide_scenarios.sh"
  "$here/tray_list_scenarios.sh" "$here/versions_scenarios.sh" "$here/shell_scenarios.sh")
for scenario in "${scenarios[@]}"; do
  # shellcheck source=/dev/null
  source "$scenario"
  stop_app
done

echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
