#!/usr/bin/env bash
# Installs the Debian packages listed in scripts/packages.txt that are missing,
# then configures and builds into build/.  Sourced by ./run and ./test.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

missing=()
while read -r pkg; do
  case "$pkg" in ''|'#'*) continue ;; esac
  if ! dpkg -s "$pkg" >/dev/null 2>&1; then missing+=("$pkg"); fi
done < "$root/scripts/packages.txt"

if [ "${#missing[@]}" -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -q
  "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

jobs="$(nproc 2>/dev/null || echo 2)"
# QN4_WARNINGS_AS_ERRORS=1 (set by CI) makes every compiler warning an error.
werror=OFF
if [ "${QN4_WARNINGS_AS_ERRORS:-0}" = 1 ]; then werror=ON; fi
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" \
  -DCMAKE_COMPILE_WARNING_AS_ERROR="$werror" >/dev/null
cmake --build "$root/build" -j "$jobs"
