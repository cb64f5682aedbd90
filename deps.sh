#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Tarvel developers
# Installs the Debian packages the project needs, when any is missing. Sourced by run.sh
# and test.sh. As root it calls apt-get; otherwise sudo; without either it prints the line.
TARVEL_PACKAGES=(
  cmake ninja-build g++ pkg-config dpkg-dev
  qt6-base-dev libgl-dev qt6-translations-l10n libqt6svg6
  qt6-tools-dev qt6-l10n-tools # lupdate and lrelease build the catalogues of translations/
  libjpeg62-turbo-dev libpng-dev zlib1g-dev libchm-dev libchm1
  libgtest-dev libbenchmark-dev clang-format
  libopencc-dev libopencc-data
  fp-utils
  fonts-lxgw-wenkai fonts-arphic-gkai00mp fonts-arphic-gbsn00lp fonts-arphic-ukai fonts-arphic-uming
  fonts-babelstone-han # rare characters (𠀀 and the other extensions) when no face of the Fonts folder has them
  python3-fonttools python3-brotli
  xvfb xauth
  poppler-utils # the PDF tests read the exported pages with pdfinfo, pdfimages and pdftoppm
  # The manual page's markup, and the checkers the package test runs on the .deb.
  scdoc lintian appstream
  # The licence check of the sources: every file names its copyright and licence.
  reuse
)
# The image libraries are kept at Debian's current security release.
TARVEL_SECURITY_PACKAGES=(libpng16-16 libjpeg62-turbo)

tarvel_install_dependencies() {
  local missing=()
  # The brush faces of the Fonts folder are fetched with npm; any npm on the path will do.
  local wanted=("${TARVEL_PACKAGES[@]}")
  command -v npm >/dev/null 2>&1 || wanted+=(npm)
  for p in "${wanted[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  local line="apt-get install -y ${missing[*]}"
  if [ ${#missing[@]} -eq 0 ]; then
    return 0
  fi
  if [ "$(id -u)" -eq 0 ]; then
    apt-get update -q && DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}" \
      && DEBIAN_FRONTEND=noninteractive apt-get install -y -q --only-upgrade "${TARVEL_SECURITY_PACKAGES[@]}"
  elif command -v sudo >/dev/null 2>&1; then
    sudo apt-get update -q && sudo DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}" \
      && sudo DEBIAN_FRONTEND=noninteractive apt-get install -y -q --only-upgrade "${TARVEL_SECURITY_PACKAGES[@]}"
  else
    echo "Missing packages. Run as root: $line" >&2
    return 1
  fi
}
