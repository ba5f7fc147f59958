#!/usr/bin/env bash
# Builds KORVEL and starts it. Installs what is missing first.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target korvel
exec build/default/korvel "$@"
