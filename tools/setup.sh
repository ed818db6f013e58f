#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need (Debian 12). Idempotent.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config clang-format git
    qt6-base-dev libpugixml-dev libudev-dev libgtest-dev
    fonts-wqy-microhei
    clang libclang-rt-14-dev
    scdoc dpkg-dev file desktop-file-utils appstream bash-completion
    xvfb lintian weston qt6-wayland qt6-translations-l10n ccache
    ansible-core
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
    sudo_cmd=(sudo)
fi
echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
