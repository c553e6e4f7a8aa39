#!/usr/bin/env bash
# Runs one golden session script and compares what it produced with what is
# kept beside it:
#   NAME.script        the script
#   NAME.trace         the expected trace (standard output)
#   NAME.status        expected exit status (default 0)
#   NAME.stderr        expected standard error (only checked when present)
#   NAME.ini           copied in as Sonvero.ini before the run (Windows-1252 bytes)
#   NAME.ini.expected  Sonvero.ini as it must be after the run
#   NAME.show          copied in as Sonvero.show; a script neither reads nor
#                      changes it, and without it makes none
#   NAME.host          copied in as Sonvero.host (the host window's choices);
#                      a script neither reads nor changes it
#   NAME.args          extra command-line arguments, one line
#   NAME.fixtures/     the user's own fixture definitions for the run; without
#                      it the user has none
# SONVERO_UPDATE_GOLDEN=1 rewrites the expected files from this run.
set -u
sonvero=$(realpath "$1")
script=$(realpath "$2")
base=${script%.script}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
settings=$work/settings
mkdir -p "$settings"
[ -f "$base.ini" ] && cp "$base.ini" "$settings/Sonvero.ini"
[ -f "$base.show" ] && cp "$base.show" "$settings/Sonvero.show"
[ -f "$base.host" ] && cp "$base.host" "$settings/Sonvero.host"
mkdir -p "$work/data/sonvero"
[ -d "$base.fixtures" ] && cp -r "$base.fixtures" "$work/data/sonvero/fixtures"
args=()
[ -f "$base.args" ] && read -r -a args < "$base.args"
# The user's own fixture definitions stay out: the library is Sonvero's own
# and the open fixture library's.
(cd "$(dirname "$script")" && XDG_DATA_HOME="$work/data" "$sonvero" --script "$script" --settings-dir "$settings" "${args[@]}" \
  > "$work/trace" 2> "$work/stderr")
status=$?
if [ "${SONVERO_UPDATE_GOLDEN:-0}" = 1 ]; then
  cp "$work/trace" "$base.trace"
  # A run that succeeds keeps its .stderr only when it had one.
  keep_stderr=0; [ -f "$base.stderr" ] && keep_stderr=1
  rm -f "$base.status" "$base.stderr"
  if [ "$status" != 0 ]; then echo "$status" > "$base.status"; fi
  if [ "$status" != 0 ] || [ $keep_stderr = 1 ]; then cp "$work/stderr" "$base.stderr"; fi
  [ -f "$base.ini.expected" ] && cp "$settings/Sonvero.ini" "$base.ini.expected"
  exit 0
fi
expected_status=0
[ -f "$base.status" ] && expected_status=$(cat "$base.status")
fail=0
if [ "$status" != "$expected_status" ]; then
  echo "exit status $status, expected $expected_status"; cat "$work/stderr"; fail=1
fi
if ! diff -u "$base.trace" "$work/trace" > "$work/diff"; then
  echo "trace differs:"; head -60 "$work/diff"; fail=1
fi
if [ -f "$base.stderr" ] && ! diff -u "$base.stderr" "$work/stderr"; then fail=1; fi
if [ -f "$base.ini.expected" ] && ! cmp "$base.ini.expected" "$settings/Sonvero.ini"; then
  echo "Sonvero.ini differs:"; diff <(od -c "$base.ini.expected") <(od -c "$settings/Sonvero.ini") | head -40; fail=1
fi
if [ -f "$base.show" ] && ! cmp -s "$base.show" "$settings/Sonvero.show"; then
  echo "the script changed Sonvero.show"; fail=1
fi
if [ ! -f "$base.show" ] && [ -e "$settings/Sonvero.show" ]; then echo "the script made a Sonvero.show"; fail=1; fi
if [ -f "$base.host" ] && ! cmp -s "$base.host" "$settings/Sonvero.host"; then
  echo "the script changed Sonvero.host"; fail=1
fi
if [ ! -f "$base.host" ] && [ -e "$settings/Sonvero.host" ]; then echo "the script made a Sonvero.host"; fail=1; fi
exit $fail
