#!/usr/bin/env bash
# Installs what Orvane needs to build and test on Debian (bookworm or later).
set -euo pipefail

packages=(build-essential cmake ninja-build pkg-config googletest libgtest-dev libpng-dev
          qt6-base-dev libjpeg-dev xvfb xauth imagemagick desktop-file-utils appstream file
          clang libclang-rt-14-dev ffmpeg libtesseract-dev tesseract-ocr-eng tesseract-ocr-fra
          tesseract-ocr-deu tesseract-ocr-spa
          libhunspell-dev hunspell-en-us hunspell-fr hunspell-de-de hunspell-es clang-format
          fonts-urw-base35)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update
$sudo apt-get install -y --no-install-recommends "${missing[@]}"
