#!/usr/bin/python3
"""Prints how long after its note a synthesizer's sound starts, in seconds.

    sound_delay.py RENDERED.wav NOTES.beats

NOTES.beats holds the note times (one in seconds per line), half a second or
more apart. A note's sound starts at the first sample that reaches a tenth
of the note's peak (-20 dB); the median over the notes is printed. The
renderer's own latency and the samples' quiet first milliseconds both delay
what is heard, so the true beats of a rendered song are moved by this much.
"""
import statistics
import sys
import wave
from array import array


def main(argv):
    if len(argv) != 3:
        sys.exit(__doc__)
    with wave.open(argv[1], "rb") as song:
        if song.getsampwidth() != 2:
            sys.exit("sound_delay.py: 16-bit WAV files only")
        rate, channels = song.getframerate(), song.getnchannels()
        samples = array("h", song.readframes(song.getnframes()))
    if sys.byteorder == "big":
        samples.byteswap()
    level = [max(abs(s) for s in samples[i:i + channels]) for i in range(0, len(samples), channels)]
    with open(argv[2]) as notes:
        times = [float(line) for line in notes if line.strip()]
    delays = []
    for t in times:
        start = int(t * rate)
        span = level[start:start + rate // 3]
        if not span or max(span) == 0:
            continue
        threshold = max(span) / 10
        delays.append(next(i for i, v in enumerate(span) if v >= threshold) / rate)
    if not delays:
        sys.exit("sound_delay.py: no note is heard")
    print(f"{statistics.median(delays):.4f}")


if __name__ == "__main__":
    main(sys.argv)
