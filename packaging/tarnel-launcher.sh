#!/bin/sh
# Starts the editor from its program folder, where its own files live.
exec "$(dirname "$(readlink -f "$0")")/../lib/tarnel/tarnel" "$@"
