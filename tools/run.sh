#!/usr/bin/env bash
# Installs what is needed, builds, and starts the desktop tool.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
tools/setup.sh
tools/build.sh build -- dtuconfig
cd build/bin
exec ./dtuconfig "$@"
