#!/usr/bin/env bash
# Installs what building, running and testing Vardelle needs on Debian 12 (run as root).
# Skips apt entirely when every package is already present, so repeated runs are quick.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config          # build
  curl                                      # the offline IP database's download
  qt6-base-dev libgl-dev                    # window layer (Qt 6 Widgets and D-Bus)
  dbus-daemon                               # a private session bus for the notification test
  libcurl4-openssl-dev                      # HTTP engine
  libpcre2-dev                              # regular expressions (16-bit, JIT)
  libicu-dev                                # GBK codec and collation
  libqrencode-dev                           # donation QR code
  libgtest-dev libgmock-dev                 # tests
  libbenchmark-dev nlohmann-json3-dev       # benchmarks and their JSON reference
  libcpp-httplib-dev                        # loopback test and demo servers
  iputils-ping fping                        # the echo benchmark's comparison tools
  clang libclang-rt-14-dev                  # fuzz targets (libFuzzer, ASan, UBSan)
  fonts-wqy-microhei                        # CJK captions
  dpkg-dev file fakeroot lintian libcap2-bin desktop-file-utils appstream  # the package and its checks
)

# shellcheck source=tools/install_packages.sh
source "$(dirname "$0")/install_packages.sh"
install_packages "${packages[@]}"
# The offline IP database the program ships (third_party/ip2region/).
bash "$(dirname "$0")/fetch_location_database.sh"
