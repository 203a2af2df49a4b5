#!/usr/bin/env bash
# Runs the benchmarks (never part of the tests):
#   1. the Google Benchmark programs of the host build (bench/), the
#      real-directory one against a Samba test domain started for it and
#      filled with 1,000 and 10,000 computer accounts;
#   2. the whole /auto run of the bundled example on corvane-sim;
#   3. start-up of corvane.exe under Wine to its first painted dialog, against
#      its own dialog template without its logic and a one-button dialog,
#      built the same way, paired and interleaved in one run.
# Results go to the terminal and to build/bench/.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
out="$root/build/bench"
mkdir -p "$out"
bash scripts/setup.sh || exit 1

echo "== build"
{ cmake --preset host && cmake --build --preset host; } >"$out/host-build.log" 2>&1 ||
    { echo "host build failed (build/bench/host-build.log)"; exit 1; }
{ cmake --preset windows && cmake --build --preset windows; } >"$out/windows-build.log" 2>&1 ||
    { echo "windows build failed (build/bench/windows-build.log)"; exit 1; }

echo "== a Samba test domain for the real-directory benchmark"
dc="$root/build/host/bench-domain-controller"
if [[ -x "$root/build/host/bench/real_directory_bench" ]] &&
    tests/ldap/domain_controller.sh start "$dc" \
        "$root/build/host/tests/ldap/libcorvane_listen_port_remap.so" &&
    [[ -f "$dc/directory.env" ]]; then
    bench/real_directory_load.sh "$dc/directory.env" 1000 10000
    export CORVANE_DC_ENV="$dc/directory.env"
fi
trap 'tests/ldap/domain_controller.sh stop "$dc"' EXIT

echo "== Google Benchmark programs"
for exe in "$root"/build/host/bench/*_bench; do
    [[ -x $exe ]] || continue
    name=$(basename "$exe")
    "$exe" --benchmark_out="$out/$name.json" --benchmark_out_format=json | tee "$out/$name.txt"
done

echo "== corvane-sim: the bundled example, /auto, 20 runs"
example="$root/examples/join-domain"
start=$(date +%s%N)
for _ in $(seq 20); do
    "$root/build/host/corvane-sim" --quiet --scenario "$example/machine.scenario" \
        --settings "$example/corvane.ini" -- /auto >/dev/null
done
end=$(date +%s%N)
echo "corvane-sim /auto run: $(((end - start) / 20000000)) ms per run (process start included)" |
    tee "$out/corvane-sim.txt"

echo "== corvane.exe start-up under Wine, paired and interleaved"
# Each round starts corvane.exe, the yardstick (corvane's template 101 and
# manifest without its logic) and the one-button dialog once each. The
# machine is shared: only figures of one run, whose rounds saw the same
# load, are compared with each other.
rounds=${CORVANE_STARTUP_ROUNDS:-15}
probe='Z:'$(echo "$root/build/windows" | tr / '\\')
scripts/wine-session run -- scripts/wine-exec build/windows/startup_probe.exe "$rounds" \
    "$probe\\corvane.exe" "$probe\\template_yardstick.exe" "$probe\\minimal_dialog.exe" |
    tee "$out/startup.txt"
