#!/usr/bin/env bash
# Sets Velloria up (packages, build) and starts it on the default home directory.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
exec build/src/velloria "$@"
