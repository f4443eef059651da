#!/usr/bin/env bash
# Sets up (see setup.sh) and starts the program from its application folder.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
exec build/app/qitang "$@"
