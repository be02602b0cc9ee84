#!/usr/bin/env bash
# Runs the shared peer harness with this folder's tavrin backend, which uses
# the bulk calls. The harness is copied to a scratch folder (it is read-only
# where it lives) and its backend_tavrin.cpp replaced by ours; everything
# else, arguments and environment included, is the harness's own:
#   LIBS="qcustomplot qwt tavrin" bench/peers/run.sh
# The harness is found beside the project, as ../shared/bench-peers from its
# root, wherever the checkout lies; HARNESS names another one.
set -euo pipefail
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
ROOT="$(cd "$HERE/../.." && pwd)"
HARNESS="${HARNESS:-$ROOT/../shared/bench-peers}"
[ -d "$HARNESS" ] || { echo "no peer harness at $HARNESS (set HARNESS)" >&2; exit 1; }
COPY="${HARNESS_COPY:-/tmp/bench-peers-tavrin}"
rm -rf "$COPY/src" "$COPY/tools"
mkdir -p "$COPY"
cp -r "$HARNESS/." "$COPY/"
cp "$HERE/backend_tavrin.cpp" "$COPY/src/backend_tavrin.cpp"
export TAVRIN_SOURCE_DIR="${TAVRIN_SOURCE_DIR:-$ROOT}"
export BUILD_DIR="${BUILD_DIR:-$COPY/build}"
exec "$COPY/run.sh" "$@"
