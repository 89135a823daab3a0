#!/usr/bin/env bash
# Builds the unit tests of the widget-free layers (charset and the cores)
# with AddressSanitizer and UndefinedBehaviorSanitizer into build-asan/ and
# runs them; fails on the first error either finds (cmake/sanitize/).
# Run by ./test after the normal suite; needs the packages of setup.sh.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
jobs="$(nproc 2>/dev/null || echo 2)"
cmake -S "$root/cmake/sanitize" -B "$root/build-asan" -G Ninja -DQN4_SOURCE_DIR="$root" >/dev/null
cmake --build "$root/build-asan" -j "$jobs"
ctest --test-dir "$root/build-asan" --output-on-failure -j "$jobs" --timeout 600
