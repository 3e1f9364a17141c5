# Installs what the builds and tests need, only what is missing, without
# questions. Sourced by ./test.

hk_packages=(
  cmake make g++ g++-mingw-w64-i686 googletest libgtest-dev libbenchmark-dev
  clang-format xvfb x11-utils xdotool xclip fonts-ipafont-gothic locales
  python3 imagemagick libx11-dev libxext-dev git
)

# Prints the packages that are needed and not installed, one a line.
hk_missing_prerequisites() {
  local p
  for p in "${hk_packages[@]}" wine wine32:i386; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || echo "$p"
  done
}

hk_install_prerequisites() {
  local missing
  mapfile -t missing < <(hk_missing_prerequisites)
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  if [ ${#missing[@]} -gt 0 ]; then
    echo "installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  fi
  if ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then
    sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >> /etc/locale.gen
    locale-gen >/dev/null
  fi
}
