#!/usr/bin/env bash
# Installs every Debian package Trakvolt needs to build, run, test, make its assets and package it.
# Safe to run again: packages already present are left alone.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  libsdl2-dev libxmp-dev libcurl4-openssl-dev
  librsvg2-dev libcairo2-dev libfreetype-dev fonts-dejavu-core libpng-dev
  libmicrohttpd-dev libsqlite3-dev libpq-dev postgresql
  libgtest-dev libgmock-dev libbenchmark-dev
  clang clang-format libclang-rt-14-dev
  xvfb xauth x11-utils imagemagick sox python3 libx11-6 libxtst6
  dpkg-dev desktop-file-utils appstream lintian
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
