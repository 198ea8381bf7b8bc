#!/usr/bin/env bash
# Runs a command on an X display of its own, so that end-to-end modules can run
# side by side without their pointers and keyboards meeting. The display
# number is claimed with an atomic mkdir, which also keeps two modules started
# at the same moment from taking the same one.
set -u
for n in $(seq 100 199); do
  lock="/tmp/kelvo-display-$n"
  [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
  mkdir "$lock" 2>/dev/null || continue
  Xvfb ":$n" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  for _ in $(seq 1 100); do
    DISPLAY=":$n" xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
  done
  if ! DISPLAY=":$n" xdpyinfo >/dev/null 2>&1; then
    kill "$xvfb" 2>/dev/null
    rmdir "$lock"
    continue
  fi
  DISPLAY=":$n" "$@"
  rc=$?
  kill "$xvfb" 2>/dev/null
  wait "$xvfb" 2>/dev/null
  rmdir "$lock"
  exit $rc
done
echo "no free X display" >&2
exit 1
