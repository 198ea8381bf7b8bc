#!/usr/bin/env bash
# Builds everything and runs every test: native unit tests, the same under the
# sanitizers, the Windows-side tests under Wine and the end-to-end suite.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
set -e
ensure_packages
build_all
build_sanitized
build_fuzzers
set +e

status=0
run_step() { # name, command...
  local name="$1"; shift
  log "$name"
  if ! "$@"; then
    status=1
    echo "FAILED: $name" >&2
  fi
}

run_step "native unit tests" ctest --test-dir "$BUILD/native" --output-on-failure -j "$JOBS"
run_step "native unit tests under ASan+UBSan" \
  env ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir "$BUILD/native-asan" --output-on-failure -j "$JOBS"

run_step "fuzz targets, ${KELVO_FUZZ_SECONDS:-30} s each" run_fuzzers "${KELVO_FUZZ_SECONDS:-30}"

ensure_display
template=$(ensure_template_prefix)
prefix="$BUILD/wine/wintests"
rm -rf "$prefix"
cp -a "$template" "$prefix"
(
  wine_environment "$prefix"
  export KELVO_WINE_TEMPLATE="$template"
  ctest --test-dir "$BUILD/windows" --output-on-failure -LE e2e
  rc=$?
  # The end-to-end modules run on displays of their own, side by side.
  ctest --test-dir "$BUILD/windows" --output-on-failure -L e2e -j "${KELVO_E2E_JOBS:-2}" || rc=1
  wineserver -k 2>/dev/null
  exit $rc
)
[ $? -eq 0 ] || { status=1; echo "FAILED: Windows-side and end-to-end tests" >&2; }
stop_own_display
exit $status
