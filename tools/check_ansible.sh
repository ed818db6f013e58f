#!/usr/bin/env bash
# Runs the example playbook dist/ansible/apply_cfg.yml with ansible-playbook against this
# machine and a simulated unit (dtusim) that keeps its state across the runs:
#   1. the site's file is applied: changed;
#   2. the same again: ok, not changed;
#   3. another file in check mode with --diff: reported as changed, nothing written (the
#      unit still holds the site's file, read back with "dtucfg diff").
# Prints each run's output and its recap line; exits 0 only when all three hold.
#   tools/check_ansible.sh BUILD_DIR
set -euo pipefail

build=$(cd "${1:?usage: tools/check_ansible.sh BUILD_DIR}" && pwd)
here=$(cd "$(dirname "$0")/.." && pwd)
bin=$build/bin
command -v ansible-playbook >/dev/null || { echo "check_ansible: ansible-playbook not found (tools/setup.sh installs ansible-core)"; exit 1; }
export LC_ALL=C.UTF-8 ANSIBLE_NOCOLOR=1 ANSIBLE_RETRY_FILES_ENABLED=0 ANSIBLE_LOCAL_TEMP
work=$(mktemp -d)
ANSIBLE_LOCAL_TEMP=$work/ansible-tmp
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# Starts a simulated unit with the given values; prints its device path.
start_unit() {
    local log=$work/unit$#.$RANDOM
    "$bin/dtusim" --unpaced "$@" >"$log" 2>&1 &
    pids+=($!)
    for _ in $(seq 100); do
        if [ -s "$log" ]; then head -n 1 "$log"; return; fi
        sleep 0.1
    done
    echo "check_ansible: dtusim did not start" >&2
    exit 1
}

# The site's file and another one, saved from units that hold them.
dtucfg=("$bin/dtucfg" --login-wait 0.3)
site_unit=$(start_unit --set AT+PORT=6123 --set AT+APN=site.apn)
"${dtucfg[@]}" --port "$site_unit" save "$work/site.cfg"
other_unit=$(start_unit --set AT+PORT=7000)
"${dtucfg[@]}" --port "$other_unit" save "$work/other.cfg"
unit=$(start_unit)

run() {  # a playbook run against the unit; prints its output, returns its exit code
    ansible-playbook -i "$here/dist/ansible/inventory.ini" "$here/dist/ansible/apply_cfg.yml" \
        -e "dtucfg=$bin/dtucfg" -e "dtu_port=$unit" -e '{"dtu_options": ["--login-wait", "0.3"]}' "$@"
}
recap() { grep -E '^localhost +:' <<<"$1"; }

failed=0
first=$(run -e "dtu_cfg=$work/site.cfg") || failed=1
second=$(run -e "dtu_cfg=$work/site.cfg") || failed=1
check=$(run -e "dtu_cfg=$work/other.cfg" --check --diff) || failed=1
for name in first second check; do
    echo "=== $name run"
    grep -Ev '^\s*$' <<<"${!name}"
done
echo "first run:  $(recap "$first")"
echo "second run: $(recap "$second")"
echo "check mode: $(recap "$check")"

grep -Eq 'changed=1 ' <<<"$(recap "$first")" || { echo "check_ansible: the first run changed nothing"; failed=1; }
grep -Eq 'changed=0 ' <<<"$(recap "$second")" || { echo "check_ansible: the second run changed something"; failed=1; }
grep -Eq 'changed=1 ' <<<"$(recap "$check")" || { echo "check_ansible: check mode planned no change"; failed=1; }
grep -q "Server's Port: 6123 -> 7000" <<<"$check" || { echo "check_ansible: --diff did not show the plan"; failed=1; }
# Check mode wrote nothing: the unit still holds the site's file.
if ! "${dtucfg[@]}" --port "$unit" diff "$work/site.cfg"; then
    echo "check_ansible: check mode changed the unit"
    failed=1
fi
[ "$failed" -eq 0 ] && echo "check_ansible: changed, then ok, then check mode without writes"
exit "$failed"
