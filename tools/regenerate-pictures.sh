#!/usr/bin/env bash
# Builds picgen natively and rewrites the committed pictures from its drawings.
# Commit the changed pictures together with the change to picgen.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
cmake --preset native >/dev/null
cmake --build --preset native --target picgen
build/native/tools/picgen "$root"
git status --short -- places_bar_editor/res program_folder_setter/res
