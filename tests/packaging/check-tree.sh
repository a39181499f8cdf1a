#!/usr/bin/env bash
# check-tree.sh USR BINDIR PRIVATE_LIBDIR DATADIR APP_ID VERSION window|no-window
# The installed tree holds the programs, their private libraries, the desktop integration,
# nothing built only for development, and the programs run from it on its own libraries.
set -uo pipefail
usr=$1 bindir=$2 libdir=$3 datadir=$4 id=$5 version=$6 window=$7
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
need() { [[ -e $usr/$1 ]] || fail "missing $1"; }

programs=(kestrova-cli)
[[ $window == window ]] && programs+=(kestrova)
for program in "${programs[@]}"; do
    [[ -x $usr/$bindir/$program ]] || fail "$bindir/$program is not an executable"
done
for lib in libtessel.so libkesplatform.so "libfetchcore.so.${version%%.*}"; do need "$libdir/$lib"; done
need "$datadir/applications/$id.desktop"
need "$datadir/metainfo/$id.metainfo.xml"
need "$datadir/icons/hicolor/scalable/apps/$id.svg"
need "$datadir/doc/kestrova/copyright"

# Each PNG icon has the size its folder names (width and height from the IHDR chunk).
for size in 16 22 24 32 48 64 128 256; do
    png=$usr/$datadir/icons/hicolor/${size}x${size}/apps/$id.png
    if [[ ! -f $png ]]; then fail "missing ${size}x${size} icon"; continue; fi
    read -r w h < <(od -An -tu4 --endian=big -j16 -N8 "$png")
    [[ $w == "$size" && $h == "$size" ]] || fail "${size}x${size} icon is ${w}x${h}"
done

# Nothing of the tests, the benchmarks or the double; no headers, archives or dev links.
unwanted=$(find "$usr" \( -iname '*test*' -o -iname '*bench*' -o -iname '*serpdouble*' \
    -o -name '*.h' -o -name '*.a' -o -name 'libfetchcore.so' -o -path '*/include*' \) -print)
[[ -z $unwanted ]] || fail "unwanted files installed: $unwanted"
others=()
for program in "${programs[@]}"; do others+=(-not -name "$program"); done
strays=$(find "$usr/$bindir" -type f "${others[@]}" -print)
[[ -z $strays ]] || fail "unexpected programs: $strays"

# The programs find the project's libraries in the tree, never in the build folder.
for program in "${programs[@]}"; do
    deps=$(ldd "$usr/$bindir/$program")
    for lib in libtessel.so libkesplatform.so libfetchcore.so; do
        grep -q "$lib.* => $usr/$bindir/\.\./$libdir/" <<<"$deps" ||
            fail "$program does not take $lib from the tree: $(grep "$lib" <<<"$deps")"
    done
    missing=$(grep "not found" <<<"$deps") && fail "$program misses libraries: $missing"
done
out=$(env -u LD_LIBRARY_PATH "$usr/$bindir/kestrova-cli" --version)
[[ $out == "kestrova-cli $version" ]] || fail "installed kestrova-cli --version says '$out'"

((failures == 0)) && echo "installed tree complete"
exit $((failures > 0))
