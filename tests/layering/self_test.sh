#!/usr/bin/env bash
# The layering check must catch each kind of wrong include in a tree planted with them, and
# nothing more.
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
out="$("$here/check_layers.sh" "$here/bad")"
rc=$?
expected="layering: core/uses_seam.h:3:#include \"platform/platform.h\"  (core uses nothing of ours)
layering: ui/uses_feature.cpp:2:#include \"app/form.h\"  (ui uses nothing of ours)
layering: editor/uses_win32.cpp:3:#include \"platform/win32/handles.h\"  (features see Windows only through platform/platform.h)
layering: editor/uses_win32.cpp:2:#include <Windows.h>  (features never include a Windows header)
layering: editor/uses_win32.cpp:3:#include \"platform/win32/handles.h\"  (features use core, ui, the seam and each other)
layering: shell/uses_tests.cpp:1:#include \"tests/fakes/fake_platform.h\"  (features use core, ui, the seam and each other)"
if [ $rc -ne 1 ] || [ "$out" != "$expected" ]; then
  echo "layering check gave rc=$rc and:"; echo "$out"
  echo "expected rc=1 and:"; echo "$expected"
  exit 1
fi
echo "layering check catches all six planted includes"
