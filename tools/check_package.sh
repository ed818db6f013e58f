#!/usr/bin/env bash
# Builds the Debian package from a built folder and checks it as a user would meet it:
#   tools/check_package.sh [BUILD_FOLDER]   (default: build, as left by tools/build.sh)
# The file list and Depends, the desktop entry and metainfo validators, the bash completion
# against the programs' own lists, and the unpacked programs run from elsewhere: dtucfg reads
# a simulated unit, dtuconfig starts on Qt's offscreen platform with its setting in a
# temporary XDG_CONFIG_HOME and writes nothing beside itself.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$root/${1:-build}" && pwd)
version=$(sed -n 's/.*kVersion = "\(.*\)";/\1/p' "$build/generated/dtu_version.h")
arch=$(dpkg --print-architecture)
deb="$build/dtuconfig_${version}_${arch}.deb"
app_id=org.example.dtuconfig

fail() {
    echo "package check: $*" >&2
    exit 1
}

rm -f "$build"/dtuconfig_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
[ -f "$deb" ] || fail "no $(basename "$deb") in $build"
echo "built $(basename "$deb") ($(du -k "$deb" | cut -f1) KiB)"

# lintian, as a distribution's packager runs it: an error fails the check, the rest is shown.
if ! lintian --fail-on error --tag-display-limit 0 "$deb" >"$build/lintian.txt" 2>&1; then
    cat "$build/lintian.txt" >&2
    fail "lintian found errors"
fi
echo "lintian: no error; $(grep -c '^[WIP]:' "$build/lintian.txt" || true) other tags"
sed 's/^/  /' "$build/lintian.txt"

# The file list.
listing=$(dpkg-deb -c "$deb" | sed -E 's/^([^ ]+ +){5}//; s|^\./|/|')
expected=(
    /usr/bin/dtuconfig /usr/bin/dtucfg /usr/bin/dtusim
    /usr/share/dtuconfig/skin/ConifgENRes/Help.txt /usr/share/dtuconfig/skin/ConifgRes/Help.txt
    /usr/share/dtuconfig/skin/ConifgENRes/skin.xml /usr/share/dtuconfig/skin/ConifgENRes/Language.ini
    /usr/share/dtuconfig/skin/ConifgRes/skin.xml /usr/share/dtuconfig/skin/ConifgRes/Language.ini
    /usr/share/doc/dtuconfig/copyright /usr/share/doc/dtuconfig/changelog.gz
    "/usr/share/applications/$app_id.desktop"
    "/usr/share/metainfo/$app_id.metainfo.xml"
    "/usr/share/icons/hicolor/scalable/apps/$app_id.svg"
    "/usr/share/icons/hicolor/128x128/apps/$app_id.png"
    /usr/share/man/man1/dtuconfig.1.gz /usr/share/man/man1/dtucfg.1.gz /usr/share/man/man1/dtusim.1.gz
    /usr/share/bash-completion/completions/dtucfg
)
for path in "${expected[@]}"; do
    grep -qxF "$path" <<<"$listing" || fail "the package lacks $path"
done
[ "$(grep -c '^/usr/share/dtuconfig/skin/ConifgENRes/.*\.xml$' <<<"$listing")" -ge 10 ] ||
    fail "the English skin has too few layout files"
grep -v '^/usr/' <<<"$listing" | grep -v '^/$' && fail "files outside /usr"
echo "file list: ${#expected[@]} expected paths present, $(wc -l <<<"$listing") entries"

depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libudev1 libpugixml1v5; do
    grep -q "\b$lib\b" <<<"$depends" || fail "Depends lacks $lib: $depends"
done
echo "Depends: $depends"

# Validators of the desktop integration (each is silent or says "successful" when clean).
desktop-file-validate "$root/dist/$app_id.desktop"
echo "desktop-file-validate $app_id.desktop: exit $?"
appstreamcli validate --no-net "$root/dist/$app_id.metainfo.xml"

tmp=$(mktemp -d)
app_pid=
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null && wait "$app_pid" 2>/dev/null
    rm -rf "$tmp"
}
trap cleanup EXIT
dpkg-deb -x "$deb" "$tmp/root"
appstreamcli validate-tree --no-net "$tmp/root"  # the metainfo with its desktop entry
bin="$tmp/root/usr/bin"
for program in dtuconfig dtucfg dtusim; do
    [ "$("$bin/$program" --version)" = "$program $version" ] || fail "$program --version"
done
# Without a display: the window program's usage lists what dtusim knows.
[ "$(DISPLAY= WAYLAND_DISPLAY= "$bin/dtuconfig" --help | sed -n 's/^profiles: //p')" = \
    "$("$bin/dtusim" --help | sed -n 's/^profiles: //p')" ] || fail "dtuconfig --help"

# The completion offers what the programs know: after "dtucfg", every command of
# "dtucfg --help"; after "--simulate=", every profile that dtusim lists.
completion="$tmp/root/usr/share/bash-completion/completions/dtucfg"
complete_line() {  # the completions of the words given, the last one being completed
    bash -c 'source /usr/share/bash-completion/bash_completion; source "$0"
        COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); COMP_LINE="$*"; COMP_POINT=${#COMP_LINE}
        _dtucfg "$1" "${@: -1}" "${@: -2:1}"
        printf "%s\n" "${COMPREPLY[@]}"' "$completion" "$bin/dtucfg" "$@" | sort | xargs
}
commands=$("$bin/dtucfg" --help | sed -n '/^commands:/,/^$/s/^  \([a-z]*\).*/\1/p' | sort | xargs)
profiles=$({ "$bin/dtusim" --no-such-option 2>&1 || true; } | sed -n 's/^profiles: //p' | xargs -n1 | sort | xargs)
[ -n "$commands" ] && [ -n "$profiles" ] || fail "no command or profile list from the programs"
[ "$(complete_line "")" = "$commands" ] || fail "completion of commands: $(complete_line "")"
[ "$(complete_line "--simulate=")" = "$profiles" ] ||
    fail "completion of profiles: $(complete_line "--simulate=")"
echo "completion: the commands and profiles of dtucfg and dtusim"

# The unpacked tree, run from another folder, with its setting in a temporary folder.
mkdir -p "$tmp/home" "$tmp/xdg" "$tmp/cwd"
before=$(cd "$tmp/root" && find . | sort)
(
    cd "$tmp/cwd"
    export HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/xdg"
    "$bin/dtucfg" --simulate read >"$tmp/read.txt" || fail "dtucfg --simulate read: exit $?"
    grep -q '^Access Point Name' "$tmp/read.txt" || fail "dtucfg read printed no parameters"
    echo "dtucfg --simulate read: $(wc -l <"$tmp/read.txt") parameter lines"
    # The language setting dtuconfig writes chooses dtucfg's skin too.
    mkdir -p "$XDG_CONFIG_HOME/dtuconfig"
    printf '[Set]\nLanguage=1\n' >"$XDG_CONFIG_HOME/dtuconfig/config.ini"
    "$bin/dtucfg" --simulate read >"$tmp/read-zh.txt" || fail "dtucfg read in Chinese: exit $?"
    ! cmp -s "$tmp/read.txt" "$tmp/read-zh.txt" || fail "dtucfg ignores $XDG_CONFIG_HOME/dtuconfig"
    "$bin/dtucfg" --simulate --lang en read | cmp -s - "$tmp/read.txt" || fail "--lang en"
    rm -r "$XDG_CONFIG_HOME/dtuconfig"
    echo "dtucfg: the language from \$XDG_CONFIG_HOME/dtuconfig/config.ini"
)
(cd "$tmp/cwd" && HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/xdg" QT_QPA_PLATFORM=offscreen \
    exec "$bin/dtuconfig" --simulate) >"$tmp/dtuconfig.log" 2>&1 &
app_pid=$!
sleep 3
if ! kill -0 "$app_pid" 2>/dev/null; then
    cat "$tmp/dtuconfig.log" >&2
    fail "dtuconfig --simulate ended within 3 s"
fi
kill "$app_pid"
wait "$app_pid" 2>/dev/null || true
app_pid=
echo "dtuconfig --simulate: running after 3 s on the offscreen platform"

after=$(cd "$tmp/root" && find . | sort)
[ "$before" = "$after" ] || fail "written into the unpacked tree: $(comm -13 <(echo "$before") <(echo "$after"))"
[ -z "$(ls -A "$tmp/cwd")" ] || fail "written into the current folder: $(ls -A "$tmp/cwd")"
echo "package check passed"
