#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Tarvel developers
# Installs what is missing, builds into build/ and starts Tarvel with the given arguments.
set -euo pipefail
cd "$(dirname "$0")"
source ./deps.sh
tarvel_install_dependencies
cmake -S . -B build -G Ninja -DTARVEL_BENCH=OFF >/dev/null
cmake --build build --target tarvel
exec ./build/bin/tarvel "$@"
