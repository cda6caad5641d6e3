#!/usr/bin/env bash
# Sets up, builds, creates the demo data set (stand-alone, embedded Firebird)
# and starts the program on it.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
"$here/scripts/setup.sh"
build="${RENDO_BUILD_DIR:-$here/build}"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRENDO_TESTS=OFF
cmake --build "$build"
demo="${RENDO_DEMO_DIR:-${XDG_DATA_HOME:-$HOME/.local/share}/rendo-demo}"
if [ -x "$build/tools/demo_builder/rendo-demo-builder" ]; then
  "$build/tools/demo_builder/rendo-demo-builder" --program-dir "$build/app" "$demo"
fi
if [ -f "$demo/demo.env" ]; then
  # shellcheck disable=SC1091
  . "$demo/demo.env"
fi
# The demo's own identity file, whatever lies beside the program.
export RENDO_APPINFO_DIR="$demo"
exec "$build/app/rendo" "$@"
