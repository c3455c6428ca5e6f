#!/bin/sh
# Sets up, builds and starts the editor.
set -eu
cd "$(dirname "$0")/.."
tools/setup.sh
exec build/bin/tarnel "$@"
