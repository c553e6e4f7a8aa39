#!/usr/bin/env bash
# make_tracks.sh OUT_DIR [SONG ...]
#
# Renders the beat tracker's test songs (make_midi.py) into OUT_DIR, each
# with its true beat times beside it (TRACK.beats, one time in seconds per
# line) and when its music stops (TRACK.end, one time: 8 s of silence, or
# of the noise a condition adds, follow). The drum songs in the conditions
# the tracker must handle:
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
# The band and dance songs (their guitars overdriven further as the song
# says) in two:
#   NAME-mix      the mix as it leaves the desk, -20 dBFS RMS
#   NAME-mastered mastered hard as records are: compressed, limited and
#                 pushed into clipping, at the song's level (-15 to -8 dBFS RMS)
# and silence_then_noise (30 s of silence, then 30 s of pink noise at
# -26 dBFS RMS; no beats). Tuning songs (t*) are rendered with FluidR3 at
# 44.1 kHz, held-out songs (h*) with TimGM6mb at 48 kHz and never tuned on.
# The true beats are when the beat is heard: the MIDI times moved by how
# late each soundfont's kick and snare sound after their notes
# (sound_delay.py), 2 to 5 ms.
# Songs are rendered two at a time (JOBS=N for N). Needs fluidsynth,
# fluid-soundfont-gm, timgm6mb-soundfont and sox. sox -R keeps every run's
# noise the same.
set -euo pipefail
out=${1:?usage: $0 OUT_DIR [SONG ...]}; shift
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$out"
# Two songs at a time (JOBS=N for another number), each by a copy of this script.
if [[ -z ${MAKE_TRACKS_WORKER:-} && ${JOBS:-2} -gt 1 ]]; then
    songs=("$@")
    [[ $# -gt 0 ]] || mapfile -t songs < <("$here/make_midi.py" --list | cut -d' ' -f1)
    printf '%s\n' "${songs[@]}" | MAKE_TRACKS_WORKER=1 xargs -P "${JOBS:-2}" -n 1 "$0" "$out"
    [[ $# -gt 0 ]] || MAKE_TRACKS_WORKER=1 "$0" "$out" silence_then_noise
    exit 0
fi
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

if [[ ${1:-} == silence_then_noise ]]; then
    sox -R -n -r 44100 -c 2 "$work/pink.wav" synth 30 pinknoise
    to_level "$work/pink.wav" "$work/pink-loud.wav" -26
    sox -R -D -n -r 44100 -c 2 -b 16 "$work/silence.wav" trim 0 30
    sox -D "$work/silence.wav" "$work/pink-loud.wav" -b 16 "$out/silence_then_noise.wav"
    : >"$out/silence_then_noise.beats"
    exit 0
fi
"$here/make_midi.py" "$work" "$@"
mkdir "$work/calibration"
"$here/make_midi.py" --calibration "$work/calibration"
# How late each soundfont's drums sound, measured once.
declare -A delays
delay_of() {
    if [[ -z ${delays[$1]:-} ]]; then
        render "$work/calibration/calibration.mid" "$1" "$2"
        sox -D "$work/raw.wav" -b 16 "$work/calibration.wav"
        delays[$1]=$("$here/sound_delay.py" "$work/calibration.wav" "$work/calibration/calibration.beats")
    fi
    echo "${delays[$1]}"
}
# Renders MIDI $1 cut at $2 seconds (a 20 ms fade) then 8 s of silence into $3.
render_cut() {
    render "$1" "$font" "$rate"
    sox -D "$work/raw.wav" -b 16 "$3" trim 0 "$2" fade 0 "$2" 0.02 pad 0 8
}
drum_song() {
    local name=$1 seconds=$2
    render_cut "$work/$name.mid" "$seconds" "$work/song.wav"
    to_level "$work/song.wav" "$out/$name-rec.wav" -26
    to_level "$work/song.wav" "$out/$name-quiet.wav" -30
    compressed "$work/song.wav" "$out/$name-loud.wav" -17
    compressed "$work/song.wav" "$out/$name-hot.wav" -12
    sox -R -n -r "$rate" -c 2 "$work/pink.wav" synth "$(awk -v s="$seconds" 'BEGIN {print s + 8}')" pinknoise
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
    render_cut "$work/drums/$name.mid" "$seconds" "$work/drums.wav"
    to_level "$work/drums.wav" "$out/$name-drums.wav" -26
    conditions=(rec quiet loud hot noise room laptop speaker master swell drums)
}
band_song() {
    local name=$1 seconds=$2 master drive
    read -r master drive <"$work/$name.mix"
    render_cut "$work/guitars/$name.mid" "$seconds" "$work/guitars.wav"
    if [[ $drive != 0 ]]; then
        # A driven amplifier and its cabinet: more distortion, no fizz, at the level it came in.
        sox -R -D "$work/guitars.wav" "$work/driven.wav" overdrive "$drive" 20 lowpass -2 6000 highpass 90
        to_level "$work/driven.wav" "$work/guitars.wav" "$(rms_db "$work/guitars.wav")"
    fi
    render_cut "$work/rest/$name.mid" "$seconds" "$work/rest.wav"
    sox -R -D -m -v 1 "$work/guitars.wav" -v 1 "$work/rest.wav" "$work/song.wav"
    to_level "$work/song.wav" "$out/$name-mix.wav" -20
    # Glue compression, a limiter brought up to 2 dB under the level in
    # three passes (each limits what the last let through), then those 2 dB
    # pushed into clipping.
    sox -R -D "$work/song.wav" "$work/glued.wav" compand 0.003,0.12 6:-50,-50,-30,-22,-15,-12,0,-4 -3 -90
    for pass in 1 2 3; do
        to_level "$work/glued.wav" "$work/limited.wav" "$(awk -v m="$master" 'BEGIN {print m - 2}')" -l
        mv "$work/limited.wav" "$work/glued.wav"
    done
    sox -R -D "$work/glued.wav" -b 16 "$out/$name-mastered.wav" gain 2 2>/dev/null
    conditions=(mix mastered)
}
for mid in "$work"/*.mid; do
    name=$(basename "$mid" .mid)
    if [[ $name == h* ]]; then font=/usr/share/sounds/sf2/TimGM6mb.sf2 rate=48000
    else font=/usr/share/sounds/sf2/FluidR3_GM.sf2 rate=44100; fi
    delay=$(delay_of "$font" "$rate")
    awk -v d="$delay" '{printf "%.4f\n", $1 + d}' "$work/$name.beats" >"$work/heard.beats"
    awk -v d="$delay" '{printf "%.4f\n", $1 + d}' "$work/$name.end" >"$work/heard.end"
    seconds=$(cat "$work/$name.end")
    if [[ -f $work/drums/$name.mid ]]; then drum_song "$name" "$seconds"; else band_song "$name" "$seconds"; fi
    for variant in "${conditions[@]}"; do
        cp "$work/heard.beats" "$out/$name-$variant.beats"
        cp "$work/heard.end" "$out/$name-$variant.end"
    done
    echo "$name" >&2
done
