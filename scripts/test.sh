#!/usr/bin/env bash
# Builds and runs every test: the host tests, the host tests again under
# AddressSanitizer and UndefinedBehaviorSanitizer, and the Windows test exe
# under Wine. Exits non-zero on any failure; the last line is the summary.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

bash scripts/setup.sh || { echo "setup failed" >&2; exit 1; }

logs="$root/build/logs"
mkdir -p "$logs"
passed=0
failed=0
skipped=0
status=0

# Builds one preset quietly; the log is kept and shown in part on failure.
build_preset() {
    local preset=$1
    echo "== $preset: configure and build"
    if ! { cmake --preset "$preset" && cmake --build --preset "$preset"; } >"$logs/$preset-build.log" 2>&1; then
        echo "== $preset: build FAILED (log: build/logs/$preset-build.log)"
        grep -E 'error|Error' "$logs/$preset-build.log" | head -40
        return 1
    fi
}

# Adds the counts of a GoogleTest run's closing lines (ctest --verbose puts
# "N: " before each line) to the totals. The words are padded to one width:
# "[  PASSED  ]", "[  SKIPPED ]".
gtest_count() {
    sed -nE "s/^([0-9]+: )?\[  $2 *\] ([0-9]+) tests?.*/\2/p" "$1" | awk '{s+=$1} END {print s+0}'
}
count_gtest() {
    passed=$((passed + $(gtest_count "$1" 'PASSED')))
    failed=$((failed + $(gtest_count "$1" 'FAILED')))
    skipped=$((skipped + $(gtest_count "$1" 'SKIPPED')))
}

# Adds the counts of a ctest run whose tests are single GoogleTest cases.
count_ctest() {
    local log=$1 total bad
    total=$(grep -Eo 'tests failed out of [0-9]+' "$log" | tail -1 | awk '{print $5}')
    bad=$(grep -Eo '[0-9]+ tests failed out of' "$log" | tail -1 | awk '{print $1}')
    local skip
    skip=$(grep -c '\*\*\*Skipped' "$log" || true)
    total=${total:-0}
    bad=${bad:-0}
    passed=$((passed + total - bad - skip))
    failed=$((failed + bad))
    skipped=$((skipped + skip))
}

run_host_preset() {
    local preset=$1
    build_preset "$preset" || { status=1; failed=$((failed + 1)); return; }
    echo "== $preset: tests"
    ctest --preset "$preset" 2>&1 | tee "$logs/$preset-test.log" | grep -Ev '^ *[0-9]+/[0-9]+ Test +#[0-9]+: .* Passed|^ +Start +[0-9]+:' || true
    if ! grep -q '100% tests passed' "$logs/$preset-test.log"; then
        status=1
    fi
    count_ctest "$logs/$preset-test.log"
}

# The sanitizer build's GoogleTest cases in one process (a process per case
# costs twice as long), then its other ctest tests. A run that dies before its
# summary (a sanitizer report aborts) is repeated a case per process, so that
# the summary still counts each case and names the failing ones.
run_sanitizer_preset() {
    local preset=host-asan log="$logs/host-asan-test.log"
    build_preset "$preset" || { status=1; failed=$((failed + 1)); return; }
    echo "== $preset: tests (one process)"
    (cd "$root/build/$preset/tests" && ./corvane_tests --gtest_brief=1) >"$log" 2>&1
    local rc=$?
    if [[ $rc -ne 0 && -z $(grep -E '^\[  PASSED  \] [0-9]+ tests?' "$log") ]]; then
        echo "== $preset: the one-process run ended early (exit $rc); one process per case"
        ctest --preset "$preset" 2>&1 | tee "$log" | grep -Ev '^ *[0-9]+/[0-9]+ Test +#[0-9]+: .* Passed|^ +Start +[0-9]+:' || true
        status=1
        count_ctest "$log"
        return
    fi
    grep -E '^\[  (PASSED|FAILED|SKIPPED) *\]' "$log" || true
    if [[ $rc -ne 0 ]]; then
        status=1
        grep -E '\[  FAILED  \]|Failure' "$log" | head -40
    fi
    count_gtest "$log"
    # The tests that are not GoogleTest cases (discovered cases have a dot).
    ctest --preset "$preset" -E '[.]' 2>&1 | tee "$logs/$preset-other-test.log" | grep -E 'tests passed|tests failed|Failed' || true
    if ! grep -q '100% tests passed' "$logs/$preset-other-test.log"; then
        status=1
    fi
    count_ctest "$logs/$preset-other-test.log"
}

run_windows_preset() {
    build_preset windows || { status=1; failed=$((failed + 1)); return; }
    echo "== windows: tests under Wine"
    scripts/wine-session run -- ctest --preset windows --verbose >"$logs/windows-test.log" 2>&1
    local rc=$?
    grep -E '^([0-9]+: )?\[  (PASSED|FAILED|SKIPPED) *\]|tests passed|tests failed' "$logs/windows-test.log" || true
    if [[ $rc -ne 0 ]]; then
        status=1
        echo "== windows: FAILED (log: build/logs/windows-test.log)"
        grep -E '\[  FAILED  \]|Failure|error' "$logs/windows-test.log" | head -40
    fi
    count_gtest "$logs/windows-test.log"
    # The checks of the exe itself (its imports, its size) are ctest tests of
    # their own, one result each.
    local checks_failed
    checks_failed=$(grep -cE 'Test +#[0-9]+: corvane_exe_[a-z_]+ \.+\*+Failed' "$logs/windows-test.log" || true)
    passed=$((passed + $(grep -cE 'Test +#[0-9]+: corvane_exe_[a-z_]+ \.+ +Passed' "$logs/windows-test.log" || true)))
    failed=$((failed + checks_failed))
    if [[ $rc -ne 0 && $checks_failed -eq 0 && $(gtest_count "$logs/windows-test.log" 'FAILED') -eq 0 ]]; then
        failed=$((failed + 1)) # the exe did not get to its own summary
    fi
}

# Screenshots the Wine tests wrote as BMP files, kept as PNG.
convert_screenshots() {
    local bmp
    for bmp in "$root"/build/screenshots/*.bmp; do
        [[ -f $bmp ]] || continue
        convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
    done
    ls "$root"/build/screenshots/*.png 2>/dev/null | sed 's|^|screenshot: |' || true
}

# Short fuzz runs from the checked-in seeds: one result per target.
run_fuzz() {
    echo "== fuzz: every target from its seeds, ${CORVANE_FUZZ_SECONDS:-5} s each"
    scripts/fuzz.sh --seconds "${CORVANE_FUZZ_SECONDS:-5}" | tee "$logs/fuzz.log"
    passed=$((passed + $(grep -c ' ok (' "$logs/fuzz.log" || true)))
    local bad
    bad=$(grep -c 'FAILED' "$logs/fuzz.log" || true)
    failed=$((failed + bad))
    [[ $bad -eq 0 ]] || status=1
}

# clang-tidy, cppcheck and the format check: one result each.
run_analysis() {
    scripts/analyse.sh | tee "$logs/analyse.log"
    passed=$((passed + $(grep -c ': clean' "$logs/analyse.log" || true)))
    local bad
    bad=$(grep -Ec ': (FINDINGS|FILES NOT FORMATTED)' "$logs/analyse.log" || true)
    failed=$((failed + bad))
    [[ $bad -eq 0 ]] || status=1
}

run_host_preset host
run_sanitizer_preset
run_windows_preset
convert_screenshots
run_fuzz
run_analysis

echo "total: $passed passed, $failed failed, $skipped skipped"
if [[ $status -ne 0 || $failed -ne 0 ]]; then
    exit 1
fi
exit 0
