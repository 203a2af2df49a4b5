#!/usr/bin/env bash
# Rehearses a fleet's roll-out on corvane-sim: the one settings file and
# inventory of the share, unattended on each of the three machines in turn.
# For each run it prints which section or inventory row applied, what became
# of the "ou" value, the exit code, and the machine's name, membership and
# account afterwards.
#   examples/fleet/run-fleet.sh [path/to/corvane-sim]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
sim=${1:-$here/../../build/host/corvane-sim}
if [[ ! -x $sim ]]; then
    echo "no corvane-sim at $sim: build it with 'cmake --preset host && cmake --build --preset host'" >&2
    exit 2
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failed=0
for machine in machine-1 machine-2 machine-3; do
    status=0
    "$sim" --scenario "$here/$machine.scenario" --settings "$here/corvane.ini" \
        --inventory "$here/corvane.csv" --state-out "$work/$machine.txt" -- /auto \
        >"$work/$machine.log" || status=$?
    echo "== $machine ($(sed -n 's/^name "\{0,1\}\([^"]*\)"\{0,1\}$/\1/p' "$here/$machine.scenario" | head -n 1))"
    # The lines that tell which values applied and where the account goes.
    grep -E 'ReadSettingsFile|Settings file ou|organization units of|NetJoinDomain|MoveComputerAccountToOrganizationUnit: Path' \
        "$work/$machine.log" | sed 's/^[^ ]* [^ ]* [^ ]* [^ ]* - /  /' || true
    echo "  exit code $status"
    sed -n -e 's/^pending-name /  new name after the restart: /p' -e 's/^join /  membership: /p' \
        "$work/$machine.txt"
    # The domain's directory, with the account where the run left it.
    echo "  directory of SALES:"
    sed -n '/^\[domain "\{0,1\}SALES/,/^$/p' "$work/$machine.txt" | sed -n 's/^\([ ]*[A-Z][A-Z]*=\)/    \1/p'
    [[ $status -eq 1 ]] || failed=1
done
exit $failed
