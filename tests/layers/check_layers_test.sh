#!/usr/bin/env bash
# check_layers_test.sh CHECK_LAYERS
#
# scripts/check-layers on a small tree of its own (a temporary git
# repository laid out like ours): a clean tree passes, and each fault is one
# line, with the cycle that a wrong include closes counted, not listed.
set -euo pipefail
check=${1:?usage: $0 CHECK_LAYERS}
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree/scripts"
cp "$check" "$tree/scripts/check-layers"
chmod +x "$tree/scripts/check-layers"
cd "$tree"
git init -q .

# put FILE LINE...: FILE holds the lines, tracked.
put() {
  local file=$1; shift
  mkdir -p "$(dirname "$file")"
  printf '%s\n' "$@" > "$file"
  git add "$file"
}
failures=0
# expect WHAT [LINE...]: check-layers prints exactly the lines, and fails
# when there are any.
expect() {
  local what=$1; shift
  local want got status=0
  want=$(printf '%s\n' "$@")
  got=$(scripts/check-layers 2>&1) || status=$?
  if [ "$got" != "$want" ] || { [ $# -eq 0 ] && [ $status -ne 0 ]; } || { [ $# -gt 0 ] && [ $status -eq 0 ]; }; then
    printf 'FAIL %s (exit %d)\n--- wanted\n%s\n--- got\n%s\n' "$what" "$status" "$want" "$got"
    failures=$((failures + 1))
  fi
}
summary='the layers are in README.md, "Layout"'

put bridge/beat/tracker.h '#pragma once'
put bridge/capture/feed.h '#include "bridge/beat/tracker.h"'
put bridge/bridge.h '#include "bridge/capture/feed.h"'
put bridge/vbvis.h '#pragma once'
put audio/reader.cpp '#include "bridge/vbvis.h"' '#include <pulse/stream.h>' '#include <vector>'
put tests/bridge/feed_test.cpp '#include "bridge/bridge.h"' '#include <gtest/gtest.h>'
expect "a clean tree"

put bridge/beat/tracker.h '#include "bridge/bridge.h"'
expect "a room including its parent folder's file" \
  'bridge/beat/tracker.h:1: bridge/beat/ includes bridge/bridge.h (bridge/ is not below bridge/beat/)' \
  "1 include(s), file(s) or cycle(s) break the layers (the wrong includes also close 1 cycle(s) between folders); $summary"

put bridge/beat/tracker.h '#include "bridge/capture/feed.h"'
expect "a room including a sibling above it" \
  'bridge/beat/tracker.h:1: bridge/beat/ includes bridge/capture/feed.h (bridge/capture/ is not below bridge/beat/)' \
  "1 include(s), file(s) or cycle(s) break the layers (the wrong includes also close 1 cycle(s) between folders); $summary"
put bridge/beat/tracker.h '#pragma once'

put audio/reader.cpp '#include <bridge/vbvis.h>' '#include <pulse/stream.h>'
expect "a project header in angle brackets" \
  'audio/reader.cpp:1: includes <bridge/vbvis.h>: the project'"'"'s own headers are included in quotes, "bridge/vbvis.h"' \
  "1 include(s), file(s) or cycle(s) break the layers; $summary"
put audio/reader.cpp '#include "bridge/vbvis.h"'

put bridge/extra/helper.h '#pragma once'
expect "a folder that is no layer" \
  'bridge/extra/helper.h: lies outside every layer' \
  "1 include(s), file(s) or cycle(s) break the layers; $summary"
git rm -qf bridge/extra/helper.h

put tests/support/fixture.h '#include "tests/bridge/feed_test.h"'
put tests/bridge/feed_test.h '#include "tests/support/fixture.h"'
expect "two folders above the layers that include each other" \
  'tests/bridge/ and tests/support/ include each other' \
  "1 include(s), file(s) or cycle(s) break the layers; $summary"

exit $((failures > 0))
