#!/usr/bin/env bash
# install-into.sh CMAKE BUILD_DIR DESTDIR: a fresh `cmake --install` of the build into DESTDIR.
set -euo pipefail
cmake=$1 build=$2 root=$3
rm -rf "$root"
DESTDIR=$root "$cmake" --install "$build" --prefix /usr
