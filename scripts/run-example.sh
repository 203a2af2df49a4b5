#!/usr/bin/env bash
# The main job on a fresh Debian machine: installs what is missing, builds
# corvane.exe (Windows, cross-compiled) and corvane-sim (this machine), then
# rehearses the bundled example on corvane-sim and prints the log it wrote.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
mkdir -p build/logs
for preset in host windows; do
    echo "== build: $preset"
    if ! { cmake --preset "$preset" && cmake --build --preset "$preset"; } >"build/logs/$preset-build.log" 2>&1; then
        echo "build of $preset failed (build/logs/$preset-build.log)" >&2
        exit 1
    fi
done
echo "== built build/windows/corvane.exe and build/host/corvane-sim"
example=examples/join-domain
echo "== corvane-sim: $example (the log corvane wrote, then its exit code)"
status=0
build/host/corvane-sim --scenario "$example/machine.scenario" --settings "$example/corvane.ini" \
    --actions "$example/actions.txt" --state-out build/example-after.txt || status=$?
echo "== the workstation, directory and registry afterwards: build/example-after.txt"
# Exit code 1 is the program's "confirmed with OK".
[[ $status -eq 1 ]]
