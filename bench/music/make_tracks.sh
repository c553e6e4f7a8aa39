#!/usr/bin/env bash
# make_tracks.sh OUT_DIR [SONG ...]
#
# Renders the beat tracker's test songs (make_midi.py) into OUT_DIR, each in
# the conditions the tracker must handle, with its true beat times beside it
# (TRACK.beats, one time in seconds per line):
#   NAME-rec    as recorded, -26 dBFS RMS
#   NAME-quiet  laptop volume, -30 dBFS RMS
#   NAME-loud   compressed, -17 dBFS RMS
#   NAME-hot    compressed hard, -12 dBFS RMS
#   NAME-noise  -26 dBFS RMS with pink noise 18 dB below it
# and silence_then_noise (30 s of silence, then 30 s of pink noise at
# -26 dBFS RMS; no beats). Tuning songs (t*) are rendered with FluidR3 at
# 44.1 kHz, held-out songs (h*) with TimGM6mb at 48 kHz and never tuned on.
# Needs fluidsynth, fluid-soundfont-gm, timgm6mb-soundfont and sox. sox -R
# keeps every run's noise the same.
set -euo pipefail
out=${1:?usage: $0 OUT_DIR [SONG ...]}; shift
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

rms_db() { sox "$1" -n stats 2>&1 | awk '/RMS lev dB/ {print $4}'; }
# Copies $1 to $2 with its RMS level at $3 dBFS.
to_level() {
    local gain; gain=$(awk -v t="$3" -v r="$(rms_db "$1")" 'BEGIN {printf "%.2f", t - r}')
    sox -R -D "$1" -b 16 "$2" gain "$gain" 2>/dev/null
}
# A loud master: a fast compressor with make-up gain, then the level.
compressed() {
    sox -R -D "$1" "$work/comp.wav" compand 0.002,0.08 6:-70,-70,-40,-26,-20,-12,0,-6 -4 -90 0.002 2>/dev/null
    to_level "$work/comp.wav" "$2" "$3"
}

"$here/make_midi.py" "$work" "$@"
for mid in "$work"/*.mid; do
    name=$(basename "$mid" .mid)
    if [[ $name == h* ]]; then font=/usr/share/sounds/sf2/TimGM6mb.sf2 rate=48000
    else font=/usr/share/sounds/sf2/FluidR3_GM.sf2 rate=44100; fi
    seconds=$(tail -n 1 "$work/$name.beats" | awk '{printf "%d", $1 + 1}')
    fluidsynth -ni -q -g 0.5 -r "$rate" -F "$work/raw.wav" "$font" "$mid" >/dev/null 2>&1
    sox -D "$work/raw.wav" -b 16 "$work/song.wav" trim 0 "$seconds"
    to_level "$work/song.wav" "$out/$name-rec.wav" -26
    to_level "$work/song.wav" "$out/$name-quiet.wav" -30
    compressed "$work/song.wav" "$out/$name-loud.wav" -17
    compressed "$work/song.wav" "$out/$name-hot.wav" -12
    sox -R -n -r "$rate" -c 2 "$work/pink.wav" synth "$seconds" pinknoise
    to_level "$work/pink.wav" "$work/pink-quiet.wav" -44
    sox -R -D -m -v 1 "$out/$name-rec.wav" -v 1 "$work/pink-quiet.wav" -b 16 "$out/$name-noise.wav"
    for variant in rec quiet loud hot noise; do cp "$work/$name.beats" "$out/$name-$variant.beats"; done
    echo "$name" >&2
done
if [[ $# -eq 0 ]]; then
    sox -R -n -r 44100 -c 2 "$work/pink.wav" synth 30 pinknoise
    to_level "$work/pink.wav" "$work/pink-loud.wav" -26
    sox -R -D -n -r 44100 -c 2 -b 16 "$work/silence.wav" trim 0 30
    sox -D "$work/silence.wav" "$work/pink-loud.wav" -b 16 "$out/silence_then_noise.wav"
    : >"$out/silence_then_noise.beats"
fi
