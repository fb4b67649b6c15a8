# Shared by scripts/run, scripts/test and scripts/package: installing what is missing and
# building. Sourced, not run.

# Debian packages the build, the tests and the program need.
TORVEK_PACKAGES=(
  g++ cmake ninja-build pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev
  qt6-base-dev libgl-dev
  libgraphviz-dev
  fonts-wine fonts-liberation
  desktop-file-utils shared-mime-info xdg-utils
  time python3 git
  dpkg-dev file
)

# What scripts/package needs besides: the Debian package checker, and the
# compiler for Windows.
TORVEK_PACKAGE_TOOLS=(lintian g++-mingw-w64-x86-64-posix)

# What scripts/test-platforms needs: the compilers for Windows and
# WebAssembly, and Wine and Node.js to run what they make.
TORVEK_PLATFORM_PACKAGES=(g++-mingw-w64-x86-64-posix wine64 emscripten nodejs)

# Installs the packages of the list that are not installed yet, through sudo
# when not root.
ensure_packages() {
  local missing=()
  local pkg
  for pkg in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$pkg")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}" >&2
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null 2>&1; then
      echo "error: these Debian packages are missing and sudo is not available: ${missing[*]}" >&2
      return 1
    fi
    sudo=(sudo)
  fi
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# configure_and_build DIR [cmake options...]: configures DIR once, then
# builds what changed.
configure_and_build() {
  local dir=$1
  shift
  if [ ! -f "$dir/build.ninja" ]; then
    # A compiler cache, when the machine has one, makes rebuilds of other
    # checkouts and build folders quick; it changes nothing in the result.
    local launcher=()
    if command -v ccache >/dev/null 2>&1; then
      launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
    fi
    cmake -S . -B "$dir" -G Ninja "${launcher[@]}" "$@"
  fi
  cmake --build "$dir" --parallel "$(nproc)"
}
