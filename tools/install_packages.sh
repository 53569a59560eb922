# Sourced by the set-up scripts: install_packages PACKAGE... installs, as root on Debian 12,
# the packages not yet installed, and skips apt entirely when every one is there, so repeated
# runs are quick.
install_packages() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  ((${#missing[@]})) || return 0
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
