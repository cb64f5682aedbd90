#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Tarvel developers
# Installs what is missing, builds into build/ (or build-sanitize/ with --sanitize) and runs
# the whole test suite on Qt's offscreen platform. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"
source ./deps.sh
dir=build
# The benchmarks are compiled with the program so that they cannot fall behind it; bench.sh
# runs them. The sanitized build leaves them out.
flags=(-DTARVEL_BENCH=ON)
if [ "${1:-}" = "--sanitize" ]; then
  dir=build-sanitize
  flags=(-DTARVEL_BENCH=OFF -DTARVEL_SANITIZE=ON)
  shift
fi
tarvel_install_dependencies
# Every C++ source follows .clang-format.
git ls-files -z -- '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
cmake -S . -B "$dir" -G Ninja "${flags[@]}" >/dev/null
cmake --build "$dir"
export QT_QPA_PLATFORM=offscreen
# A huge allocation returns null as it does without the sanitizer, so the tests of pictures too
# large for memory see what users see instead of the sanitizer's abort.
export ASAN_OPTIONS=detect_leaks=0:allocator_may_return_null=1:${ASAN_OPTIONS:-}
ctest --test-dir "$dir" --output-on-failure -j2 "$@"
