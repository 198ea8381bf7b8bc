#!/usr/bin/env bash
# Builds and runs the launcher under Wine in the project's own prefix, on
# $DISPLAY or on an Xvfb of its own, saving a screenshot every few seconds
# under build/screens/.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
ensure_packages
build_all
ensure_display
template=$(ensure_template_prefix)
prefix="$BUILD/wine/run"
if [ ! -d "$prefix" ]; then
  cp -a "$template" "$prefix"
fi
wine_environment "$prefix"
trap 'kill $shooter 2>/dev/null; wineserver -k 2>/dev/null; stop_own_display' EXIT
mkdir -p "$BUILD/screens"
(
  while sleep "${KELVO_SCREENSHOT_SECONDS:-5}"; do
    import -window root "$BUILD/screens/screen-$(date +%H%M%S).png" 2>/dev/null || true
  done
) &
shooter=$!
log "launcher.exe running on $DISPLAY (screenshots in build/screens/)"
wine "$BUILD/windows/bin/launcher.exe" "$@"
