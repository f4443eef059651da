#!/usr/bin/env bash
# Sets up (see setup.sh) and runs every test; the GUI tests use Qt's offscreen platform.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure --timeout 300 -j2
