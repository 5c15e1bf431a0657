#!/usr/bin/env bash
# Installs what is needed, builds Orvane (the desktop program too), makes its
# Debian package with CPack and installs it with apt-get, which pulls in the
# libraries it needs: orvane and orvane-cli in /usr/bin, the launcher in the
# desktop's menu, the shipped matrices in /usr/share/orvane/, the man pages.
# `apt-get remove orvane` takes it away again.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
rm -f "$root"/build/orvane_*.deb
(cd "$root/build" && cpack -G DEB)
deb="$(ls "$root"/build/orvane_*.deb)"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
$sudo apt-get install -y "$deb"
echo "Installed $(basename "$deb"): run orvane, or orvane-cli --help; man orvane-cli"
