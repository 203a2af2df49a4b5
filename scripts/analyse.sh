#!/usr/bin/env bash
# Static analysis of the tree: clang-tidy (.clang-tidy; outside CI only on
# what the change touches, see below) and cppcheck over every source of the
# host build, and clang-format (.clang-format) over every C and
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

# clang-tidy is the slow part (about two minutes for the tree). Outside CI it
# looks only at what the change touches, when the change says which: the
# sources that differ from the branch's base (CORVANE_TIDY_BASE, default
# main; committed, staged, unstaged and new files) and the sources that
# include a header that differs. A change to the tidy configuration, or no
# known base, checks every source; CI (CI=true) always checks every source.
tidy_sources=("${sources[@]}")
tidy_scope="every source"
if [[ ${CI:-} != true ]] && base=$(git merge-base HEAD "${CORVANE_TIDY_BASE:-main}" 2>/dev/null); then
    mapfile -t changed < <({ git diff --name-only "$base" --; git ls-files -o --exclude-standard; } | sort -u)
    if ! printf '%s\n' "${changed[@]}" | grep -qxE '\.clang-tidy|cmake/.*|CMakeLists.txt'; then
        mapfile -t tidy_sources < <(python3 - "$root" "${sources[@]}" -- "${changed[@]}" <<'PY'
import os, re, sys
args = sys.argv[2:]
split = args.index("--")
root, sources, changed = sys.argv[1], args[:split], set(args[split + 1:])
headers = {c for c in changed if c.endswith(".h")}
include = re.compile(r'#include "([^"]+)"')
for source in sources:
    relative = os.path.relpath(source, root)
    if relative in changed:
        print(source)
        continue
    if not headers:
        continue
    try:
        text = open(source, encoding="utf-8", errors="replace").read()
    except OSError:
        continue
    for name in include.findall(text):
        if "src/" + name in headers or "tools/" + name in headers or os.path.join(os.path.dirname(relative), name) in headers:
            print(source)
            break
PY
        )
        tidy_scope="the sources the change touches"
    fi
fi

echo "== analyse: clang-tidy (${#tidy_sources[@]} files: $tidy_scope)"
if [[ ${#tidy_sources[@]} -eq 0 ]]; then
    echo "clang-tidy: clean"
elif printf '%s\n' "${tidy_sources[@]}" | xargs -P2 -n6 clang-tidy -p "$root/build/host" --quiet \
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
