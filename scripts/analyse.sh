#!/usr/bin/env bash
# Static analysis of the tree: clang-tidy (.clang-tidy) and cppcheck over every
# source of the host build, and clang-format (.clang-format) over every C and
# C++ file. Needs the host build's compile_commands.json (cmake --preset host).
# Exits non-zero on any finding.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
db="$root/build/host/compile_commands.json"
[[ -f $db ]] || { echo "analyse: run 'cmake --preset host' first" >&2; exit 1; }
logs="$root/build/logs"
mkdir -p "$logs"
status=0

# Sources of the core, the sim platform and the tools, as the host build compiles them.
mapfile -t sources < <(python3 - "$db" "$root" <<'PY'
import json, sys
root = sys.argv[2] + "/"
for entry in json.load(open(sys.argv[1])):
    f = entry["file"]
    if f.startswith(root + "src/") or f.startswith(root + "tools/"):
        print(f)
PY
)

echo "== analyse: clang-tidy (${#sources[@]} files)"
if printf '%s\n' "${sources[@]}" | xargs -P2 -n6 clang-tidy -p "$root/build/host" --quiet \
    >"$logs/clang-tidy.log" 2>&1; then
    echo "clang-tidy: clean"
else
    echo "clang-tidy: FINDINGS (log: build/logs/clang-tidy.log)"
    grep -E 'error:' "$logs/clang-tidy.log" | head -30
    status=1
fi

echo "== analyse: cppcheck"
if cppcheck --quiet --error-exitcode=1 --std=c++20 --language=c++ --inline-suppr \
    --enable=warning,performance,portability --suppress=missingIncludeSystem \
    --suppress=unmatchedSuppression -I src -j2 "${sources[@]}" >"$logs/cppcheck.log" 2>&1; then
    echo "cppcheck: clean"
else
    echo "cppcheck: FINDINGS (log: build/logs/cppcheck.log)"
    head -30 "$logs/cppcheck.log"
    status=1
fi

echo "== analyse: clang-format"
mapfile -t formatted < <(git ls-files -co --exclude-standard -- '*.h' '*.cpp' '*.c')
if clang-format --dry-run --Werror "${formatted[@]}" >"$logs/clang-format.log" 2>&1; then
    echo "clang-format: clean"
else
    echo "clang-format: FILES NOT FORMATTED (log: build/logs/clang-format.log)"
    grep -Eo '^[^:]+' "$logs/clang-format.log" | sort -u | head -20
    status=1
fi
exit $status
