#!/usr/bin/env bash
# Sets Velloria up and runs every test: the whole suite (with the crash test), then the core's
# tests again built with AddressSanitizer and UndefinedBehaviorSanitizer, then every fuzz target
# briefly, then the Debian package's checks and test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
# The tray test runs the program under a window manager with a notification area.
scripts/install-packages.sh xvfb openbox trayer xdotool x11-utils imagemagick
jobs=$(nproc)
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j "$jobs"

cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELLORIA_CORE_ONLY=ON -DVELLORIA_SANITIZE=ON
cmake --build build-sanitize
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-sanitize --output-on-failure -j "$jobs"

# Every fuzz target for half a minute on its seeds.
FUZZ_JOBS=$jobs scripts/fuzz.sh 30

# The Debian package: built, checked by lintian and appstreamcli, unpacked and tried.
scripts/package.sh

# The size of the tests against the program, non-blank lines of C++ under tests/ and src/, kept
# in view: the aim is at most 36%.
nonblank() { find "$1" \( -name '*.cpp' -o -name '*.h' \) -print0 | xargs -0 cat | grep -cv '^[[:space:]]*$'; }
test_lines=$(nonblank tests)
source_lines=$(nonblank src)
echo "Test size: $test_lines non-blank lines under tests/ against $source_lines under src/:" \
    "$((100 * test_lines / source_lines))% (aim: at most 36%)"
