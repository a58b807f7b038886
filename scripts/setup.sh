#!/usr/bin/env bash
# Installs what the builds and the tests need on Debian 12 (run as root). Installs only what is
# missing, so a second run does nothing, and then needs no root.
set -euo pipefail

export DEBIAN_FRONTEND=noninteractive

# Build tools, test and benchmark libraries, the help compiler (chmcmd), the release packer,
# the screenshot tools of the run script (import, convert, xdpyinfo), clang with its
# sanitizer and libFuzzer runtimes for the sanitizer tree and the fuzz targets, and openssl
# with osslsigncode, which sign a copy of the Windows tests' agent with a certificate of their own,
# and Python with its YAML reader for the check of the fleet artifact.
tools=(
  cmake g++ make
  clang libclang-rt-14-dev
  mingw-w64 g++-mingw-w64-x86-64-win32 g++-mingw-w64-i686-win32
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  fp-utils
  zip imagemagick x11-utils
  openssl osslsigncode
  python3 python3-yaml
)
# Wine with its recommended fonts and libraries: the Windows tests draw real windows.
wine=(wine wine64 wine32:i386 fonts-wine xvfb xauth)

installed() { dpkg -s "$1" >/dev/null 2>&1; }

missing_of() {
  local package
  for package in "$@"; do
    installed "$package" || echo "$package"
  done
}

mapfile -t missing_tools < <(missing_of "${tools[@]}")
mapfile -t missing_wine < <(missing_of "${wine[@]}")

missing=("${missing_tools[@]}" "${missing_wine[@]}")
if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: all packages present"
  exit 0
fi

# Installing needs root; a machine already set up serves any user.
if [ "$(id -u)" -ne 0 ]; then
  echo "setup: these packages are missing: ${missing[*]}" >&2
  echo "setup: installing them needs root, and this runs as $(id -un): run it again as root" \
    "(for example: sudo bash scripts/setup.sh)" >&2
  exit 1
fi

# wine32 comes from the i386 architecture. Where the kernel cannot run 32-bit programs it is
# installed all the same: the scripts then find that out and use the 64-bit loader alone.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  echo "setup: adding the i386 architecture"
  dpkg --add-architecture i386
fi

echo "setup: installing ${missing[*]}"
# A mirror caught mid-sync fails the update ("File has unexpected size") and passes a little
# later. The lists that did arrive are kept, so after the last try the installation goes on with
# them: it fails by itself, and says which package, if one it needs is missing from them.
for attempt in 1 2 3 4; do
  apt-get update -q && break
  if [ "$attempt" -eq 4 ]; then
    echo "setup: some package lists could not be updated; installing from those that were" >&2
    break
  fi
  echo "setup: updating the package lists failed; trying again in $((attempt * 15)) s" >&2
  sleep $((attempt * 15))
done
if [ ${#missing_tools[@]} -gt 0 ]; then
  apt-get install -y -q --no-install-recommends "${missing_tools[@]}" </dev/null
fi
# 32-bit Wine needs the i386 lists to match the machine's own; while a mirror is behind they do
# not, and it cannot be installed. The rest is installed all the same: the scripts then run every
# Windows program with the 64-bit loader and report the 32-bit test programs as skipped.
if [ ${#missing_wine[@]} -gt 0 ]; then
  if ! apt-get install -y -q "${missing_wine[@]}" </dev/null; then
    mapfile -t wine64_part < <(printf '%s\n' "${missing_wine[@]}" | grep -vx 'wine32:i386')
    echo "setup: 32-bit Wine could not be installed; installing the rest of Wine without it" >&2
    apt-get install -y -q "${wine64_part[@]}" </dev/null
  fi
fi
installed wine32:i386 || echo "setup: 32-bit Wine is not installed: 32-bit test programs will be skipped" >&2

mapfile -t still_missing < <(missing_of "${tools[@]}" "${wine[@]}" | grep -vx 'wine32:i386')
if [ ${#still_missing[@]} -gt 0 ]; then
  echo "setup: not installed: ${still_missing[*]}" >&2
  exit 1
fi
echo "setup: done"
