#!/usr/bin/env bash
# Installs the Debian packages that the builds and tests need, when missing.
# Idempotent: when everything is present it only runs dpkg-query and exits.
set -euo pipefail

packages=(
  cmake g++ make
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64
  wine64 xvfb x11-utils imagemagick
  clang clang-tidy clang-format cppcheck libclang-rt-14-dev
  # the real-directory tests: a Samba AD domain controller on loopback and
  # the OpenLDAP client library
  samba samba-ad-dc samba-ad-provision samba-dsdb-modules ldap-utils libldap-dev
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

echo "setup: installing ${missing[*]}" >&2
SUDO=""
if [[ $(id -u) -ne 0 ]]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
