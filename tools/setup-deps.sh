#!/usr/bin/env bash
# Installs the Debian packages the build, the word files and the tests need; with --fuzz also
# clang with libFuzzer and the sanitizer runtimes (for `make fuzz`).
# Quiet and quick when everything is already there.
set -euo pipefail
packages=(
  build-essential cmake pkg-config
  qt6-base-dev libxcb1-dev libboost-context-dev libpcre2-dev libsqlite3-dev
  libhunspell-dev hunspell-de-de hunspell-en-us hunspell-en-gb
  wngerman openthesaurus-de-text wamerican wordnet-base
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth
)
if [ "${1:-}" = "--fuzz" ]; then
  packages+=(clang libclang-rt-14-dev)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
