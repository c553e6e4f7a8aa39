#!/usr/bin/python3
"""Writes the beat tracker's test songs as MIDI files, each with its true beat times.

    make_midi.py OUT_DIR [SONG ...]
    make_midi.py --list          the songs: name, "tuning" or "held-out", and
                                 "drums", "band" or "dance"
    make_midi.py --calibration OUT_DIR
                                 calibration.mid and .beats: single kicks and
                                 snares, half a second apart, to measure when a
                                 synthesizer's note is heard (sound_delay.py)

For every song (all by default) OUT_DIR gets NAME.mid, NAME.beats (one beat
time in seconds per line: the grid the players play to, before humanising)
and NAME.end (when the song is cut, in seconds); a drum song drums/NAME.mid
with the drums alone, a band or dance song what band_songs.py says.
Each drum song is drums played by a person as we model one: swing, timing
jitter, velocity variation, fills, a bass line and chords, and sometimes a
tempo that drifts or changes. Everything comes from a random generator
seeded by the song's name, so the same command always writes the same bytes.
"""
import os
import random
import sys
from dataclasses import dataclass, field

import band_songs
from song_common import (CLAP, CRASH, HAT, HIGH_TOM, KICK, LOW_TOM, MID_TOM, OPEN_HAT, PEDAL_HAT, RIDE, SNARE,
                         TAMBOURINE, human, midi_bytes, step_time, velocity, write_times)

# One bar of 16 sixteenth steps per instrument: 'X' accent, 'x' normal, 'g' ghost.
PATTERNS = {
    # Straight rock: kick on 1 and 3, snare on 2 and 4, eighth hats.
    "rock8": {KICK: "X.......X.x.....", SNARE: "....X.......X...", HAT: "x.x.x.x.x.x.x.x."},
    # The same with a ride on the quarters and the kick pushing into beat 3.
    "rock_ride": {KICK: "X......xX.......", SNARE: "....X.......X..g", RIDE: "x...x...x...x..."},
    # Four on the floor: kick every beat, open hat on the off-beats, clap on 2 and 4.
    "four_floor": {KICK: "X...X...X...X...", CLAP: "....X.......X...", HAT: "x.x.x.x.x.x.x.x.",
                   OPEN_HAT: "..x...x...x...x."},
    # Funk: syncopated kick, ghosted snare, sixteenth hats.
    "funk16": {KICK: "X..x..x...X..x..", SNARE: "..g.X..g.g..X.g.", HAT: "Xxxxxxxxxxxxxxxx"},
    # Backbeat-led: the kick only on 1 (and before 3), the snare carries 2 and 4.
    "backbeat": {KICK: "X.........x.....", SNARE: "....X.......X...", HAT: "x.x.x.x.x.x.x.x."},
    # Backbeat-led with the kick on 1 and the and of 3, tambourine on the beats.
    "backbeat_tamb": {KICK: "X.....x...x.....", SNARE: "....X.......X...",
                      TAMBOURINE: "x...x...x...x...", PEDAL_HAT: "..x...x...x...x."},
    # Half-time feel: kick on 1, snare on 3, eighth hats.
    "halftime": {KICK: "X.........x.....", SNARE: "........X.......", HAT: "x.x.x.x.x.x.x.x."},
    # Hip-hop: sparse kick, snare on 2 and 4, sixteenth hats (swung by the song).
    "hiphop": {KICK: "X.....x..xX.....", SNARE: "....X.......X...", HAT: "xxxxxxxxxxxxxxxx"},
    # Shuffle: played on eighths that the song swings to triplets.
    "shuffle": {KICK: "X.......X.x.....", SNARE: "....X.......X...", RIDE: "x.x.x.x.x.x.x.x."},
    # Punk: eighth kick-snare drive with crash-ride quarters.
    "punk": {KICK: "X.x.....X.x.....", SNARE: "....X.......X...", HAT: "x...x...x...x..."},
}

# A fill on the last two beats of a phrase: sixteenths down the toms.
FILL = {SNARE: "........x.x.....", HIGH_TOM: "............xx..", MID_TOM: "..............x.",
        LOW_TOM: "...............x", KICK: "X.......x......."}

PROGRESSIONS = [[0, 5, 3, 4], [0, 3, 5, 4], [0, 0, 3, 4], [5, 3, 0, 4]]
MAJOR = [0, 2, 4, 5, 7, 9, 11]


@dataclass
class Song:
    name: str
    pattern: str
    bpm: float                       # tempo at the start
    seconds: float = 50.0
    swing: float = 0.5               # where the off-beat of a swung pair falls (0.5 straight, 0.66 triplet)
    swing_step: int = 2              # 2: eighths swing, 1: sixteenths swing
    jitter_ms: float = 8.0           # spread of each note's timing
    change_at: float = 0.0           # seconds: the tempo steps to `bpm_after` on the next bar
    bpm_after: float = 0.0
    drift: float = 0.0               # slow wander of the tempo, as a fraction
    ramp_to: float = 0.0             # tempo reached at the end by a steady ramp (0: none)
    fill_every: int = 8              # bars per phrase (a fill ends each)
    bass_program: int = 33
    chord_program: int = 4
    key: int = 40                    # E2
    bass_eighths: bool = False
    drums: dict = field(default_factory=dict)  # extra instruments merged into the pattern


def beat_lengths(song, rng):
    """The length of every beat in seconds, until the song's end."""
    lengths, t, bpm, wander = [], 0.0, song.bpm, 0.0
    changed = False
    while t < song.seconds + 4:
        beat = len(lengths)
        if song.change_at and not changed and t >= song.change_at and beat % 4 == 0:
            bpm, changed = song.bpm_after, True
        if song.ramp_to:
            bpm = song.bpm + (song.ramp_to - song.bpm) * min(1.0, t / song.seconds)
        if song.drift:
            wander = 0.97 * wander + rng.gauss(0.0, song.drift * 0.25)
            wander = max(-song.drift, min(song.drift, wander))
        length = 60.0 / (bpm * (1.0 + wander))
        lengths.append(length)
        t += length
    return lengths


def song_notes(song, beats, rng):
    """(time, channel, note, velocity, length) for every note."""
    notes = []
    bars = (len(beats) - 2) // 4
    pattern = dict(PATTERNS[song.pattern])
    pattern.update(song.drums)
    progression = PROGRESSIONS[sum(map(ord, song.name)) % len(PROGRESSIONS)]
    # A drummer's hands lean a little: hats early, snare late, kept per song.
    lean = {HAT: rng.uniform(-6, 0), SNARE: rng.uniform(0, 6), KICK: rng.uniform(-3, 3)}
    for bar in range(bars):
        if beats[bar * 4] > song.seconds:
            break
        fill_bar = song.fill_every and bar % song.fill_every == song.fill_every - 1
        lines = dict(pattern)
        if fill_bar:
            for note, line in FILL.items():
                lines[note] = (lines.get(note, "." * 16)[:8] if note in lines else "." * 8) + line[8:]
            for note in list(lines):
                if note not in FILL:
                    lines[note] = lines[note][:8] + "." * 8
        if bar % song.fill_every == 0 and bar > 0:
            notes.append((human(beats[bar * 4], rng, song), 9, CRASH, velocity("X", rng, 95), 0.5))
        for note, line in lines.items():
            for step, mark in enumerate(line):
                if mark == ".":
                    continue
                t = human(step_time(beats, bar, step, song), rng, song) + lean.get(note, 0.0) / 1000.0
                notes.append((max(0.0, t), 9, note, velocity(mark, rng, 85), 0.1))
        # Bass: the chord's root, on the beats or in eighths, sometimes an octave up.
        degree = progression[bar % 4]
        root = song.key + MAJOR[degree]
        steps = range(0, 16, 2) if song.bass_eighths else (0, 4, 8, 10, 12)
        for step in steps:
            if fill_bar and step >= 8:
                break
            note = root + (12 if step == 10 and rng.random() < 0.5 else 0)
            t = human(step_time(beats, bar, step, song), rng, song)
            length = (beats[bar * 4 + 1] - beats[bar * 4]) * (0.45 if song.bass_eighths else 0.8)
            notes.append((max(0.0, t), 0, note, velocity("x", rng, 80), length))
        # Chords: a triad held from beat 1, pushed again on the and of 2.
        third = song.key + 12 + MAJOR[(degree + 2) % 7] + (12 if degree + 2 >= 7 else 0)
        fifth = song.key + 12 + MAJOR[(degree + 4) % 7] + (12 if degree + 4 >= 7 else 0)
        for step, hold in ((0, 5), (6, 9)):
            t = human(step_time(beats, bar, step, song), rng, song)
            length = (beats[bar * 4 + 1] - beats[bar * 4]) * hold / 4.0
            for note in (root + 12, third, fifth):
                notes.append((max(0.0, t), 1, note, velocity("x", rng, 60), length))
    return notes


def S(name, pattern, bpm, **kw):
    return Song(name, pattern, bpm, **kw)


# The songs rendered with FluidR3 for tuning, and the held-out ones, with
# patterns and tempos of their own, rendered with TimGM6mb and never tuned on.
TUNING = [
    S("t01_rock_112", "rock8", 112, jitter_ms=8),
    S("t02_floor_124", "four_floor", 124, jitter_ms=4, chord_program=81),
    S("t03_funk_98", "funk16", 98, jitter_ms=10),
    S("t04_shuffle_104", "shuffle", 104, swing=0.66, jitter_ms=10, bass_eighths=True),
    S("t05_backbeat_118", "backbeat", 118, jitter_ms=12),
    S("t06_halftime_100", "halftime", 100, jitter_ms=8),
    S("t07_change_100_122", "rock8", 100, change_at=25.0, bpm_after=122, seconds=55),
    S("t08_hiphop_80", "hiphop", 80, swing=0.58, swing_step=1, jitter_ms=12),
    S("t09_punk_160", "punk", 160, jitter_ms=8, bass_eighths=True, chord_program=30),
    S("t10_loose_ramp_116_126", "rock8", 116, ramp_to=126, jitter_ms=15),
    S("t11_funk_fills_108", "funk16", 108, swing=0.56, swing_step=1, fill_every=4, jitter_ms=10),
    S("t12_rock_140", "rock8", 140, bass_eighths=True, chord_program=29, jitter_ms=7),
    S("t13_drift_90", "rock_ride", 90, drift=0.015, jitter_ms=10),
    S("t14_change_128_108", "four_floor", 128, change_at=24.0, bpm_after=108, seconds=55),
    # The syncopated kick every three sixteenths lies at 120 BPM, where the prior is highest.
    S("t15_funk_swung_90", "funk16", 90, swing=0.54, swing_step=1, jitter_ms=11),
]
HELD_OUT = [
    S("h01_ride_106", "rock_ride", 106, jitter_ms=9, bass_program=34, chord_program=0),
    S("h02_tamb_102", "backbeat_tamb", 102, jitter_ms=11, bass_program=34, chord_program=16),
    S("h03_shuffle_116", "shuffle", 116, swing=0.64, jitter_ms=9, chord_program=0),
    S("h04_halftime_115", "halftime", 115, jitter_ms=10, chord_program=48),
    S("h05_funk_94", "funk16", 94, swing=0.55, swing_step=1, jitter_ms=12, chord_program=16),
    S("h06_change_125_100", "rock8", 125, change_at=26.0, bpm_after=100, seconds=55, chord_program=0),
    S("h07_punk_150", "punk", 150, jitter_ms=6, bass_eighths=True, chord_program=29),
    S("h08_floor_drift_121", "four_floor", 121, drift=0.01, jitter_ms=6, chord_program=88),
]


def drum_song_midi(song, notes):
    return midi_bytes(notes, [(0xC0, song.bass_program), (0xC1, song.chord_program), (0xB1, 7, 70)])


def write_song(song, folder):
    rng = random.Random(song.name)
    lengths = beat_lengths(song, rng)
    beats = [0.5]                       # the first downbeat half a second in
    for length in lengths:
        beats.append(beats[-1] + length)
    notes = song_notes(song, beats, rng)
    with open(f"{folder}/{song.name}.mid", "wb") as out:
        out.write(drum_song_midi(song, notes))
    os.makedirs(f"{folder}/drums", exist_ok=True)
    with open(f"{folder}/drums/{song.name}.mid", "wb") as out:
        out.write(drum_song_midi(song, [n for n in notes if n[1] == 9]))
    # The song is cut a second after its last beat within song.seconds
    # (whole seconds): every beat before the cut is heard.
    end = int(max(t for t in beats if t <= song.seconds) + 1)
    write_times(f"{folder}/{song.name}.beats", [t for t in beats if t < end])
    write_times(f"{folder}/{song.name}.end", [end])


def write_calibration(folder):
    times = [1.0 + 0.5 * i for i in range(16)]
    notes = [(t, 9, KICK if i % 2 == 0 else SNARE, 100, 0.1) for i, t in enumerate(times)]
    with open(f"{folder}/calibration.mid", "wb") as out:
        out.write(drum_song_midi(Song("calibration", "rock8", 120), notes))
    write_times(f"{folder}/calibration.beats", times)


ALL = {**{s.name: ("tuning", "drums", s) for s in TUNING}, **{s.name: ("held-out", "drums", s) for s in HELD_OUT},
       **band_songs.SONGS}


def main(argv):
    if len(argv) < 2:
        sys.exit(__doc__)
    if argv[1] == "--calibration" and len(argv) == 3:
        write_calibration(argv[2])
        return
    if argv[1] == "--list":
        print("\n".join(f"{name} {part} {kind}" for name, (part, kind, _) in ALL.items()))
        return
    for name in argv[2:] or list(ALL):
        part, kind, song = ALL[name]
        if kind == "drums":
            write_song(song, argv[1])
        else:
            band_songs.write_song(song, argv[1])


if __name__ == "__main__":
    main(sys.argv)
