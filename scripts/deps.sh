# Installs the Debian packages the build, the tests and the game need, when any is missing.
# Sourced by ./run and ./test; a second call finds everything in place and returns at once.
VORN_PACKAGES=(
  cmake ninja-build g++ pkg-config
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  clang-14 libclang-rt-14-dev
  libsdl2-dev libsdl2-ttf-dev libsdl2-gfx-dev fonts-dejavu-core zlib1g-dev libenet-dev
  libtiff-dev libtiff-tools libsndfile1-dev sox
  xvfb xauth xdotool imagemagick x11-utils openbox
  dpkg-dev
  emscripten chromium nodejs
)

vorn_install_deps() {
  local missing=()
  local p
  for p in "${VORN_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  # npm installs the browser test's driver. Asked for by command, not by package: some Node
  # packages carry their own npm and refuse Debian's beside them.
  command -v npm >/dev/null || missing+=(npm)
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages. Install them with:" >&2
    echo "  sudo apt-get install -y ${missing[*]}" >&2
    return 1
  fi
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
