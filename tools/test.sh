#!/bin/sh
# Installs the dependencies, builds everything and runs the whole test suite.
set -e
cd "$(dirname "$0")/.."
sh tools/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release
ctest --preset release
