# Shared by the start and test scripts: folders, packages, builds.
# Sourced, not run.

KALVOR_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
KALVOR_JOBS=${KALVOR_JOBS:-$(nproc 2>/dev/null || echo 2)}

# Everything the builds, the program and the tests need, from Debian's archive.
KALVOR_PACKAGES=(
  cmake ninja-build g++ python3
  googletest libgtest-dev libbenchmark-dev libsqlite3-dev
  clang libclang-rt-14-dev clang-format
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  wine wine64 xvfb xauth fonts-liberation imagemagick ccache
  pkg-config libcairo2-dev qrencode zbar-tools poppler-utils cups printer-driver-cups-pdf
  nsis
)

# Compiled objects are shared between clones of the project on one machine:
# paths below the root are hashed relative to it, so a fresh clone in another
# folder reuses what an earlier build compiled.
if command -v ccache >/dev/null 2>&1; then
  export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache
  export CCACHE_BASEDIR="$KALVOR_ROOT" CCACHE_NOHASHDIR=1
fi

say() { printf '\n== %s\n' "$*"; }

# Installs the packages that are missing; does nothing when all are there.
kalvor_install_packages() {
  local missing=() p
  for p in "${KALVOR_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  say "Installiere fehlende Pakete: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# Configures (once) and builds one preset; extra arguments are build targets.
kalvor_build() {
  local preset=$1
  shift
  local dir="$KALVOR_ROOT/build/$preset"
  mkdir -p "$KALVOR_ROOT/build"
  if [ ! -f "$dir/build.ninja" ]; then
    cmake --preset "$preset" -S "$KALVOR_ROOT" >"$KALVOR_ROOT/build/$preset.configure.log" 2>&1 || {
      cat "$KALVOR_ROOT/build/$preset.configure.log"
      return 1
    }
  fi
  local targets=()
  for t in "$@"; do targets+=(--target "$t"); done
  cmake --build "$dir" -j "$KALVOR_JOBS" "${targets[@]}"
}

# A Wine prefix of the project's own, made once, without the Mono/Gecko prompts.
kalvor_wine_env() {
  export WINEPREFIX="$KALVOR_ROOT/build/wine"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  export WINEARCH=win64
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    say "Richte Wine ein ($WINEPREFIX)"
    mkdir -p "$KALVOR_ROOT/build"
    wineboot --init >/dev/null 2>&1 || true
    wineserver -w || true
  fi
}

# Prepares the program's working folder: the data files and the programs.
kalvor_prepare_run_dir() {
  local run="$KALVOR_ROOT/build/run"
  mkdir -p "$run"
  local refdata="$KALVOR_ROOT/build/native/refdata"
  if [ -d "$refdata" ]; then
    cp -u "$refdata"/* "$run"/ 2>/dev/null || true
  fi
  [ -f "$KALVOR_ROOT/build/mingw64/shell/kalvor.exe" ] && cp -u "$KALVOR_ROOT/build/mingw64/shell/kalvor.exe" "$run"/
  return 0
}
