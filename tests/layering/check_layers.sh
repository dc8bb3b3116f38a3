#!/usr/bin/env bash
# Keyvane's layers, checked from the include lines of every source file:
#   core/  includes nothing of ours outside core/;
#   ui/    nothing of ours outside ui/;
#   the features (app/ hotkeys/ actions/ layout/ editor/ themes/ shell/) may use core/, ui/,
#          platform/platform.h and each other, never platform/win32/ nor a Windows header;
#   platform/win32/ may use everything above it.
# Usage: check_layers.sh [source root]. Prints each violation as file:line and exits 1.
set -uo pipefail
root="${1:-$(cd "$(dirname "$0")/../.." && pwd)}"
cd "$root" || exit 2

features=(app hotkeys actions layout editor themes shell)
windows_headers='windows|winuser|winbase|windef|wingdi|winreg|shellapi|shlobj|shlwapi|commctrl|commdlg|htmlhelp|objbase|ole2|winspool|mmsystem|shobjidl'
status=0

report() {  # rule; reads file:line:text lines
  local hit
  while IFS= read -r hit; do
    [ -n "$hit" ] || continue
    echo "layering: $hit  ($1)"
    status=1
  done
}

sources() { find "$@" -maxdepth 1 -type f \( -name '*.h' -o -name '*.cpp' \) 2>/dev/null | sort; }

# Our own includes of a file list, as file:line:include, leaving out the allowed prefixes.
own_includes_outside() {
  local allowed="$1"; shift
  [ $# -gt 0 ] || return 0
  grep -HnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$@" |
    grep -vE "#[[:space:]]*include[[:space:]]*\"($allowed)"
}

mapfile -t core_files < <(sources core)
report "core uses nothing of ours" < <(own_includes_outside 'core/' "${core_files[@]}")

mapfile -t ui_files < <(sources ui)
report "ui uses nothing of ours" < <(own_includes_outside 'ui/' "${ui_files[@]}")

mapfile -t feature_files < <(sources "${features[@]}")
if [ ${#feature_files[@]} -gt 0 ]; then
  report "features see Windows only through platform/platform.h" < <(
    grep -HnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"platform/' "${feature_files[@]}" |
      grep -vE '"platform/platform\.h"')
  report "features never include a Windows header" < <(
    grep -HniE "^[[:space:]]*#[[:space:]]*include[[:space:]]*<($windows_headers)\.h>" "${feature_files[@]}")
  feature_alt=$(IFS='|'; echo "${features[*]}")
  report "features use core, ui, the seam and each other" < <(
    own_includes_outside "core/|ui/|platform/platform\\.h|($feature_alt)/" "${feature_files[@]}")
fi

[ $status -eq 0 ] && echo "layering: ${#core_files[@]} core, ${#ui_files[@]} ui and ${#feature_files[@]} feature files keep their layers"
exit $status
