#!/usr/bin/env bash
# Installs what is needed, builds, and starts the desktop tool. Without arguments it starts
# with a simulated unit listed first among the ports; arguments go to the program as they are
# (for example --port /dev/ttyUSB0, or --simulate=lora).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
tools/setup.sh
tools/build.sh build -- dtuconfig dtusim
cd build/bin
if [ $# -eq 0 ]; then
    set -- --simulate
fi
exec ./dtuconfig "$@"
