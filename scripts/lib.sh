# Shared by the project's scripts: installing what a fresh Debian machine lacks,
# building the configurations, and running Windows programs under Wine.
# Sourced, not run.

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$ROOT/build"
JOBS="$(nproc 2>/dev/null || echo 2)"

log() { printf '\033[1m== %s\033[0m\n' "$*" >&2; }

# Debian packages the build, the tests and the program need.
APT_PACKAGES=(
  cmake ninja-build g++ pkg-config python3 clang libclang-rt-14-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  g++-mingw-w64-i686 wine wine32:i386
  xvfb xdotool x11-utils imagemagick fonts-ipafont-gothic locales
)

missing_packages() {
  local pkg
  for pkg in "${APT_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || echo "$pkg"
  done
}

ensure_packages() {
  local need
  need=$(missing_packages)
  if [ -n "$need" ]; then
    if [ "$(id -u)" != 0 ]; then
      echo "missing packages (run as root to install): $need" >&2
      return 1
    fi
    log "installing: $(echo $need)"
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
      dpkg --add-architecture i386
    fi
    apt-get update -q >/dev/null
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $need >/dev/null
  fi
  if ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then
    log "generating the ja_JP.UTF-8 locale"
    if [ -f /etc/locale.gen ]; then
      sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
      grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >> /etc/locale.gen
      locale-gen >/dev/null
    else
      localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
    fi
  fi
}

configure_and_build() { # dir, extra cmake args...
  local dir="$1"; shift
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$ROOT" -B "$dir" -G Ninja "$@" >/dev/null
  fi
  cmake --build "$dir" -j "$JOBS"
}

build_all() {
  log "native build"
  configure_and_build "$BUILD/native" -DCMAKE_BUILD_TYPE=RelWithDebInfo
  log "windows build (i686, MinGW-w64)"
  configure_and_build "$BUILD/windows" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake"
}

build_fuzzers() {
  log "fuzz targets (clang, libFuzzer with ASan and UBSan)"
  configure_and_build "$BUILD/fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DKELVO_FUZZ=ON
}

# Runs every fuzz target for a bounded time on its own corpus folder.
run_fuzzers() { # seconds per target
  local seconds="$1" target status=0
  for target in IniRoundTripFuzz ScheduleListFuzz DateTimeFuzz; do
    mkdir -p "$BUILD/fuzz/corpus/$target"
    log "fuzzing $target for ${seconds} s"
    if ! "$BUILD/fuzz/bin/$target" -max_total_time="$seconds" -print_final_stats=1 \
      -artifact_prefix="$BUILD/fuzz/" "$BUILD/fuzz/corpus/$target" > "$BUILD/fuzz/$target.log" 2>&1; then
      status=1
      tail -n 40 "$BUILD/fuzz/$target.log"
    fi
    grep -E 'stat::number_of_executed_units' "$BUILD/fuzz/$target.log" || true
  done
  return $status
}

build_sanitized() {
  log "native build with AddressSanitizer and UBSan"
  configure_and_build "$BUILD/native-asan" -DCMAKE_BUILD_TYPE=Debug -DKELVO_SANITIZE=ON
}

# --- Wine -------------------------------------------------------------------

# Everything of Wine stays inside the project: its own HOME (so the prefix's
# Documents folder is not linked to the user's), never ~/.wine.
wine_environment() { # prefix
  export WINEPREFIX="$1"
  export HOME="$BUILD/wine/home"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
  mkdir -p "$HOME"
}

# Boots the template prefix once; tests copy it.
ensure_template_prefix() {
  local template="$BUILD/wine/template"
  if [ ! -f "$template/.booted" ]; then
    log "booting the Wine template prefix (once)"
    rm -rf "$template"
    (
      wine_environment "$template"
      wineboot -i >/dev/null 2>&1
      # A crashing test program must fail its test, not wait for a click on a dialog.
      wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
      wineserver -w
    )
    # Wine links Documents, Desktop and the like to $HOME; every copy of the
    # template must have folders of its own, or the copies would share data.
    local link
    for link in "$template"/drive_c/users/*/*; do
      if [ -L "$link" ]; then rm "$link" && mkdir "$link"; fi
    done
    touch "$template/.booted"
  fi
  echo "$template"
}

# Uses $DISPLAY when it answers, otherwise starts an Xvfb of our own.
ensure_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    return 0
  fi
  local n
  for n in $(seq 90 120); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 1 100); do
      xdpyinfo >/dev/null 2>&1 && return 0
      sleep 0.1
    done
    kill "$XVFB_PID" 2>/dev/null
  done
  echo "could not start Xvfb" >&2
  return 1
}

stop_own_display() {
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null
  XVFB_PID=
}
