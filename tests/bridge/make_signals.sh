#!/usr/bin/env bash
# Makes the audio files the golden session scripts play, with sox -R
# (repeatable) -D (no dither), so the bytes are the same on every machine.
# They are written aside and renamed into place, so runs from several build
# folders at once never see half a file.
set -euo pipefail
out=$1 tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$out"
# A 2 ms click (a burst of 1 kHz square wave at 0.9 of full scale) every
# 500 ms, the first after 100 ms: 120 BPM for 4 s, 8 clicks.
sox -R -D -n -r 48000 -b 16 -c 1 "$tmp/click.wav" synth 0.002 square 1000 vol 0.9 pad 0.1 0.398
sox -R -D "$tmp/click.wav" -c 2 "$tmp/clicks-120bpm.wav" repeat 7
# One second of a 1 kHz sine at -20 dBFS, left side only.
sox -R -D -n -r 48000 -b 16 -c 2 "$tmp/sine-1k-left.wav" synth 1 sine 1000 gain -20 remix 1 0
# Click tracks for the beat tool's tempo, 9.5 s each: the same click every
# period (a whole number of samples, so 140 and 174 BPM are 140.003 and
# 173.997), the first after 100 ms.
tempos=(90 120 128 140 174)
for bpm in "${tempos[@]}"; do
  period=$(( (2880000 + bpm / 2) / bpm ))
  sox -R -D -n -r 48000 -b 16 -c 1 "$tmp/one.wav" synth 96s square 1000 vol 0.9 pad 0 $((period - 96))s
  sox -R -D "$tmp/one.wav" "$tmp/tempo-$bpm.wav" repeat $(( 456000 / period )) pad 4800s
done
# Quiet music for the automatic gain: 4 s of a 220 Hz sine on both sides at
# -37 dBFS peak (-40 dBFS RMS, 24 dB under the gain's aim, well above its
# gate), then 2 s of digital silence.
sox -R -D -n -r 48000 -b 16 -c 2 "$tmp/quiet-sine-then-silence.wav" synth 4 sine 220 gain -37 pad 0 2
mv -f "$tmp/clicks-120bpm.wav" "$tmp/sine-1k-left.wav" "$tmp/quiet-sine-then-silence.wav" \
  $(printf "$tmp/tempo-%s.wav " "${tempos[@]}") "$out/"
