#!/bin/sh
# Renders the pictures of the program from their SVG sources in src/. The PNGs are kept in
# the repository, so building needs no SVG renderer; run this after changing a source.
# Needs rsvg-convert (Debian package librsvg2-bin).
set -eu
cd "$(dirname "$0")"
rsvg-convert -w 400 -h 316 src/splash.svg -o splash.png
rsvg-convert -w 64 -h 64 src/logo.svg -o logo.png
for name in node-task node-download node-list state-progress state-skipped state-complete \
            state-failed status-error; do
    rsvg-convert -w 16 -h 16 "src/$name.svg" -o "icons/$name.png"
done
