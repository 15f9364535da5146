#!/usr/bin/env bash
# Installs what building, running and testing Corvanta needs, from Debian's packages.
# Quick when everything is already there; asks apt only for what is missing.
set -euo pipefail

PACKAGES=(
  build-essential cmake pkg-config ccache
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite qt6-svg-dev
  libsqlite3-dev libsodium-dev
  qt6-qpa-plugins qt6-translations-l10n
  fonts-dejavu-core fonts-farsiweb
  xvfb xauth poppler-utils
  postgresql libpq-dev
  clang-14 libclang-rt-14-dev
  desktop-file-utils appstream dpkg-dev file
)

missing=()
for p in "${PACKAGES[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  SUDO=""
  if [[ $(id -u) -ne 0 ]]; then SUDO="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The program's Persian face where Tahoma is missing: Vazirmatn (SIL Open Font License) from
# the npm package, kept in the user's cache; the build copies it beside the executable, which
# embeds it. Without npm or the registry the program uses Nazli from fonts-farsiweb instead.
VAZIRMATN_VERSION=33.0.3
FONT_DIR="${XDG_CACHE_HOME:-${HOME:-/tmp}/.cache}/corvanta/fonts"
if [[ ! -f "$FONT_DIR/Vazirmatn-Regular.ttf" || ! -f "$FONT_DIR/Vazirmatn-Bold.ttf" ]] && command -v npm >/dev/null 2>&1; then
  tmp=$(mktemp -d)
  if (cd "$tmp" && timeout 300 npm pack --silent "vazirmatn@$VAZIRMATN_VERSION" >/dev/null 2>&1) &&
    tar -xzf "$tmp/vazirmatn-$VAZIRMATN_VERSION.tgz" -C "$tmp" package/OFL.txt \
      package/fonts/ttf/Vazirmatn-Regular.ttf package/fonts/ttf/Vazirmatn-Bold.ttf; then
    mkdir -p "$FONT_DIR"
    cp "$tmp/package/OFL.txt" "$FONT_DIR/Vazirmatn-OFL.txt"
    cp "$tmp/package/fonts/ttf/Vazirmatn-Regular.ttf" "$tmp/package/fonts/ttf/Vazirmatn-Bold.ttf" "$FONT_DIR/"
  else
    echo "Vazirmatn could not be fetched; Corvanta will use Nazli from fonts-farsiweb." >&2
  fi
  rm -rf "$tmp"
fi
