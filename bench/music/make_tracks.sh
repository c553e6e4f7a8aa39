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
# and, as real recordings and rooms differ from clean renders:
#   NAME-room     in a reverberant room, -26 dBFS RMS
#   NAME-laptop   through a laptop microphone across a small room: no bass
#                 below about 200 Hz, little above 7 kHz, room and fan noise
#   NAME-speaker  played on a small speaker: thin bass, a honky mid, a
#                 little distortion
#   NAME-master   mastered loud: compressed slowly, then limited below full
#                 scale, about -14 dBFS RMS
#   NAME-swell    a level that rises and falls by about 10 dB over 20 s
#   NAME-drums    the drums alone, as recorded, -26 dBFS RMS
# and silence_then_noise (30 s of silence, then 30 s of pink noise at
# -26 dBFS RMS; no beats). Tuning songs (t*) are rendered with FluidR3 at
# 44.1 kHz, held-out songs (h*) with TimGM6mb at 48 kHz and never tuned on.
# The true beats are when the beat is heard: the MIDI times moved by how
# late each soundfont's kick and snare sound after their notes
# (sound_delay.py), 2 to 5 ms.
# Needs fluidsynth, fluid-soundfont-gm, timgm6mb-soundfont and sox. sox -R
# keeps every run's noise the same.
set -euo pipefail
out=${1:?usage: $0 OUT_DIR [SONG ...]}; shift
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

rms_db() { sox "$1" -n stats 2>&1 | awk '/RMS lev dB/ {print $4}'; }
# Copies $1 to $2 with its RMS level at $3 dBFS; $4 -l limits the peaks
# instead of letting them clip.
to_level() {
    local gain; gain=$(awk -v t="$3" -v r="$(rms_db "$1")" 'BEGIN {printf "%.2f", t - r}')
    sox -R -D "$1" -b 16 "$2" gain ${4:-} "$gain" 2>/dev/null
}
# A loud master: a fast compressor with make-up gain, then the level.
compressed() {
    sox -R -D "$1" "$work/comp.wav" compand 0.002,0.08 6:-70,-70,-40,-26,-20,-12,0,-6 -4 -90 0.002 2>/dev/null
    to_level "$work/comp.wav" "$2" "$3"
}

# Renders MIDI $1 with soundfont $2 at rate $3 into $work/raw.wav.
render() { fluidsynth -ni -q -g 0.5 -r "$3" -F "$work/raw.wav" "$2" "$1" >/dev/null 2>&1; }

"$here/make_midi.py" "$work" "$@"
mkdir "$work/calibration"
"$here/make_midi.py" --calibration "$work/calibration"
for mid in "$work"/*.mid; do
    name=$(basename "$mid" .mid)
    if [[ $name == h* ]]; then font=/usr/share/sounds/sf2/TimGM6mb.sf2 rate=48000
    else font=/usr/share/sounds/sf2/FluidR3_GM.sf2 rate=44100; fi
    render "$work/calibration/calibration.mid" "$font" "$rate"
    sox -D "$work/raw.wav" -b 16 "$work/calibration.wav"
    delay=$("$here/sound_delay.py" "$work/calibration.wav" "$work/calibration/calibration.beats")
    awk -v d="$delay" '{printf "%.4f\n", $1 + d}' "$work/$name.beats" >"$work/heard.beats"
    seconds=$(tail -n 1 "$work/$name.beats" | awk '{printf "%d", $1 + 1}')
    render "$mid" "$font" "$rate"
    sox -D "$work/raw.wav" -b 16 "$work/song.wav" trim 0 "$seconds"
    to_level "$work/song.wav" "$out/$name-rec.wav" -26
    to_level "$work/song.wav" "$out/$name-quiet.wav" -30
    compressed "$work/song.wav" "$out/$name-loud.wav" -17
    compressed "$work/song.wav" "$out/$name-hot.wav" -12
    sox -R -n -r "$rate" -c 2 "$work/pink.wav" synth "$seconds" pinknoise
    to_level "$work/pink.wav" "$work/pink-quiet.wav" -44
    sox -R -D -m -v 1 "$out/$name-rec.wav" -v 1 "$work/pink-quiet.wav" -b 16 "$out/$name-noise.wav"
    sox -R -D "$work/song.wav" "$work/room.wav" reverb 60 40 80 100 12
    to_level "$work/room.wav" "$out/$name-room.wav" -26
    sox -R -D "$work/song.wav" "$work/mic.wav" reverb 35 60 30 50 4 sinc -n 255 220-7000 equalizer 3000 1.5q 4
    to_level "$work/mic.wav" "$work/mic-level.wav" -28
    to_level "$work/pink.wav" "$work/fan.wav" -50
    sox -R -D -m -v 1 "$work/mic-level.wav" -v 1 "$work/fan.wav" -b 16 "$out/$name-laptop.wav"
    sox -R -D "$work/song.wav" "$work/speaker.wav" highpass -2 180 highpass -2 180 equalizer 1200 1q 6 lowpass -2 9000 overdrive 6 30
    to_level "$work/speaker.wav" "$out/$name-speaker.wav" -24
    sox -R -D "$work/song.wav" "$work/master.wav" compand 0.03,0.3 6:-60,-60,-30,-20,0,-10 -6 -90 0.03
    to_level "$work/master.wav" "$out/$name-master.wav" -11 -l
    sox -R -D "$work/song.wav" "$work/swell.wav" tremolo 0.05 68
    to_level "$work/swell.wav" "$out/$name-swell.wav" -26
    render "$work/drums/$name.mid" "$font" "$rate"
    sox -D "$work/raw.wav" -b 16 "$work/drums.wav" trim 0 "$seconds"
    to_level "$work/drums.wav" "$out/$name-drums.wav" -26
    for variant in rec quiet loud hot noise room laptop speaker master swell drums; do cp "$work/heard.beats" "$out/$name-$variant.beats"; done
    echo "$name" >&2
done
if [[ $# -eq 0 ]]; then
    sox -R -n -r 44100 -c 2 "$work/pink.wav" synth 30 pinknoise
    to_level "$work/pink.wav" "$work/pink-loud.wav" -26
    sox -R -D -n -r 44100 -c 2 -b 16 "$work/silence.wav" trim 0 30
    sox -D "$work/silence.wav" "$work/pink-loud.wav" -b 16 "$out/silence_then_noise.wav"
    : >"$out/silence_then_noise.beats"
fi
