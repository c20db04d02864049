#!/usr/bin/env bash
# Installs what is missing, builds, and runs the game on the bundled sample data.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh build
cd build
exec ./morrowdeep "$@"
