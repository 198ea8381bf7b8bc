#!/usr/bin/env bash
# Installs what is missing and builds both configurations.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
ensure_packages
build_all
