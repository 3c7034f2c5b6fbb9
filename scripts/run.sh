#!/usr/bin/env bash
# Command 1: install what is missing, build, start Cardforge.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh build
scripts/build.sh
exec build/cardforge "$@"
