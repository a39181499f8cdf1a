#!/bin/sh
# Renders the application icon for the hicolor theme from the logo's SVG source. The PNGs
# are kept in the repository, so building needs no SVG renderer; run this after changing
# app/resources/src/logo.svg. Needs rsvg-convert (Debian package librsvg2-bin).
set -eu
cd "$(dirname "$0")"
for size in 16 22 24 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" ../../app/resources/src/logo.svg -o "$size.png"
done
