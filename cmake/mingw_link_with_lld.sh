#!/usr/bin/env bash
# A g++ -wrapper for the Windows links (cmake/mingw-w64-posix.cmake):
#   mingw_link_with_lld.sh LD_LLD SUBCOMMAND ARGUMENT...
# collect2 becomes LLVM's linker in its MinGW mode, given the same arguments but the LTO
# plugin's (no LTO here); every other subcommand runs as it is.
set -euo pipefail
lld=$1
shift
[[ $(basename "$1") == collect2 ]] || exec "$@"
shift
arguments=()
while (($#)); do
  case $1 in
    -plugin) shift ;;  # and its path
    -plugin-opt=*) ;;
    *) arguments+=("$1") ;;
  esac
  shift
done
# The delay-load helper writes the addresses it finds into the import address tables that
# dlltool's delay-import libraries hold (cmake/windows_library_loading.cmake); GNU ld keeps
# them writable, and so must this link, which would merge them into read-only data. lld
# then says that its own rule (.idata into .rdata) gave way, on every link: that line goes.
exec "$lld" "${arguments[@]}" --Xlink=-merge:.idata=.data \
  2> >(grep -vF '.idata=.rdata: already merged into .data' >&2)
