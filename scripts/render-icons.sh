#!/usr/bin/env bash
# Makes the derived images from the drawn ones: the disabled look of each
# toolbar image (the same drawing in greys) and the PNG sizes of the program
# icon that desktops without SVG support pick from. The results are committed,
# so building ORYX never needs this script; run it after changing a drawing.
# Needs rsvg-convert (Debian package librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/../resources/icons"

# Each colour of the toolbar palette and its grey. A colour missing here
# would keep its hue in the disabled look, so the script refuses it.
greys=(
  '#2f4a63=#a0a0a0' '#2b5f93=#a0a0a0' '#4a90d9=#c8c8c8' '#d9a531=#c4c4c4'
  '#f2c14e=#dadada' '#5cc26a=#cdcdcd' '#d9534f=#b4b4b4' '#dde4ea=#ececec'
  '#ffffff=#f7f7f7'
)
script=(-e 's/^\(<!-- .*\)\. -->$/\1; disabled look, made by scripts\/render-icons.sh. -->/')
for pair in "${greys[@]}"; do script+=(-e "s/${pair%%=*}/${pair#*=}/gI"); done

for drawing in toolbar/*.svg; do
  case "$drawing" in *-disabled.svg) continue ;; esac
  disabled="${drawing%.svg}-disabled.svg"
  sed "${script[@]}" "$drawing" > "$disabled"
  leftover=$(grep -o '#[0-9a-fA-F]\{6\}' "$disabled" | sort -u | grep -vxE '#([0-9a-fA-F]{2})\1\1' || true)
  if [ -n "$leftover" ]; then
    echo "$drawing: no grey for colour(s) $leftover; add them to this script" >&2
    exit 1
  fi
done

for size in 16 32 48 64 128 256; do
  mkdir -p "hicolor/${size}x${size}/apps"
  rsvg-convert -w "$size" -h "$size" oryx.svg -o "hicolor/${size}x${size}/apps/oryx.png"
done
