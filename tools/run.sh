#!/bin/sh
# Installs the dependencies, builds and starts the editor: tools/run.sh [FILE]
set -e
root="$(cd "$(dirname "$0")/.." && pwd)"
sh "$root/tools/install-deps.sh"
cmake --preset release -S "$root" >/dev/null
cmake --build --preset release --target zel >/dev/null
exec "$root/build/release/app/zel" "$@"
