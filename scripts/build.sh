#!/usr/bin/env bash
# Builds quarvo.dll and pavrik.dll (and the test programs) into build/.
set -euo pipefail
source "$(dirname "$0")/setup.sh"
ensure_build_tools
build_all
echo "Built: $ROOT/build/bin"
