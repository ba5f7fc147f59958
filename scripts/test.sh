#!/usr/bin/env bash
# Builds KORVEL and runs every test layer: core and canvas tests, ui tests on
# the offscreen platform, and end-to-end tests of the real program under Xvfb.
# Then the core tests once more, built with AddressSanitizer and
# UndefinedBehaviorSanitizer: any memory fault, leak or undefined behaviour
# fails the run. Installs what is missing first.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset default
cmake --build --preset default
ctest --preset default
cmake --preset asan
cmake --build --preset asan --target korvel_core_tests
# All core tests in one process (the instrument's sessions and threads and
# other tools' files among them): a sanitizer's start-up for every single test
# (as ctest --preset asan runs them) costs ten times the tests themselves.
# Leaks are looked for when the process ends, so all tests count.
ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:check_initialization_order=1 \
  UBSAN_OPTIONS=print_stacktrace=1 build/asan/tests/korvel_core_tests
