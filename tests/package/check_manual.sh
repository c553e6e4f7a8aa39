#!/usr/bin/env bash
# Every long option that `sonvero --help` lists is described in the manual
# page, so a new option cannot ship undocumented.
#   check_manual.sh SONVERO MANPAGE
set -euo pipefail
sonvero=$1
page=$(sed 's/\\-/-/g' "$2")   # roff writes a minus as \-
options=$("$sonvero" --help | grep -oE -- '--[a-z][a-z-]*' | sort -u)
[ -n "$options" ] || { echo "sonvero --help lists no long option"; exit 1; }
missing=0
for option in $options; do
  if ! grep -qE -- "${option}([^a-z-]|\$)" <<< "$page"; then
    echo "$option is not in the manual page $2"
    missing=1
  fi
done
exit $missing
