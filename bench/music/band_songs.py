"""Band and dance songs for the beat tracker: what people put lights to.

A band song is a form of sections (a quiet clean intro, verses of palm-muted
power chords, choruses of open chords pushed ahead of the bar, half-time
breakdowns, double-kick and blast-beat parts, bars where the band stops)
played by two distorted guitars panned apart, a bass following them, drums
with fills at the end of each section and a sung or synth line over it; it
ends on one hit, then silence. A dance song is four on the floor with an
off-beat bass, a pad and bass pumping with the kick (as a sidechain does),
and long breakdowns without drums. Every player's timing wanders a little
(each note, and a lean of their own), and the tempo may drift. The true
beats are the quarter notes of the grid they play to.

write_song writes NAME.mid, guitars/NAME.mid and rest/NAME.mid (the two
guitars, and everything else, rendered apart so the guitars can be driven
harder), NAME.beats (the grid's beats up to the final hit), NAME.end (when
the last sound is cut) and NAME.mix ("MASTER_DB DRIVE": the RMS level of
its hard master and how far the guitars are overdriven).
"""
import os
import random
from dataclasses import dataclass

from song_common import (CHINA, CLAP, CRASH, HAT, HIGH_FLOOR_TOM, HIGH_TOM, KICK, LOW_TOM, MID_TOM, OPEN_HAT,
                         PEDAL_HAT, RIDE, SNARE, midi_bytes, step_time, velocity, write_times)

# Channels.
BASS, GTR_L, GTR_R, LEAD, CLEAN, PAD, SOLO, DRUMS = 0, 1, 2, 3, 4, 5, 6, 9
GUITARS = (GTR_L, GTR_R, SOLO)

# Drum bars, 16 sixteenth steps: 'X' accent, 'x' normal, 'g' ghost.
DRUM_BARS = {
    "rock": {KICK: "X.......X.x.....", SNARE: "....X.......X...", HAT: "x.x.x.x.x.x.x.x."},
    "rock_ride": {KICK: "X.....x.X.x.....", SNARE: "....X.......X..g", RIDE: "x.x.x.x.x.x.x.x."},
    "big": {KICK: "X.......X.x...x.", SNARE: "....X.......X...", CRASH: "x...x...x...x..."},
    "double16": {KICK: "xxxxxxxxxxxxxxxx", SNARE: "....X.......X...", CHINA: "x...x...x...x..."},
    "double_gallop": {KICK: "x.xxx.xxx.xxx.xx", SNARE: "....X.......X...", HAT: "x.x.x.x.x.x.x.x."},
    # Thrash's skank beat: kick on the beats, snare on every off-beat.
    "skank": {KICK: "X...X...X...X...", SNARE: "..X...X...X...X.", RIDE: "x.x.x.x.x.x.x.x."},
    # Hammer blast: kick, snare and ride together on every eighth.
    "blast": {KICK: "x.x.x.x.x.x.x.x.", SNARE: "x.x.x.x.x.x.x.x.", RIDE: "x.x.x.x.x.x.x.x."},
    # Traditional blast: kick and snare alternating in sixteenths.
    "blast16": {KICK: "x.x.x.x.x.x.x.x.", SNARE: ".x.x.x.x.x.x.x.x", RIDE: "x.x.x.x.x.x.x.x."},
    # A half-time breakdown: the snare on 3, the kick with the guitars' chugs.
    "breakdown": {KICK: "X..X..X...X.X...", SNARE: "........X.......", CHINA: "x...x...x...x..."},
    "halftime": {KICK: "X.........x.....", SNARE: "........X.......", HAT: "x.x.x.x.x.x.x.x."},
    "punk": {KICK: "X.x.....X.x.....", SNARE: "....X.......X...", HAT: "x.x.x.x.x.x.x.x."},
    "dbeat": {KICK: "X.x...x.X.x...x.", SNARE: "....X.......X...", CRASH: "x.x.x.x.x.x.x.x."},
    "ballad": {KICK: "X......xX.......", SNARE: "....X.......X...", HAT: "xxxxxxxxxxxxxxxx"},
    "ride_soft": {RIDE: "x...x...x...x...", PEDAL_HAT: "..x...x...x...x."},
    # The band hits on 1 and the and of 2, then lets the bar ring.
    "stops": {KICK: "X.....X.........", CRASH: "X.....X........."},
    "floor_kick": {KICK: "X...X...X...X...", HAT: "..x...x...x...x."},
    "four_floor": {KICK: "X...X...X...X...", CLAP: "....X.......X...", OPEN_HAT: "..x...x...x...x.",
                   HAT: "xx.xxx.xxx.xxx.x"},
    "dnb": {KICK: "X.........X.....", SNARE: "..g.X..g.g..X.g.", HAT: "x.x.x.x.x.x.x.x."},
}
# The last two beats of a section: down the toms, or a snare run.
FILLS = [
    {SNARE: "........X.x.....", HIGH_TOM: "............xx..", MID_TOM: "..............x.", LOW_TOM: "...............x",
     KICK: "X.......x......."},
    {SNARE: "........xxxxxxXX", KICK: "X.......x...x..."},
    {HIGH_TOM: "........xx......", MID_TOM: "..........xx....", LOW_TOM: "............xx..",
     HIGH_FLOOR_TOM: "..............xx", KICK: "X.......x.x.x.x."},
]

# Guitar bars: 'O' an open power chord ringing to the next, 'o' one
# ringing an eighth, 'X'/'x' a palm-muted chug (accented or not), 't' a
# tremolo-picked sixteenth.
RIFFS = {
    "chug8": "X.x.x.x.X.x.x.x.",
    "chug16": "Xxxxxxxxxxxxxxxx",
    "chug16_open": "O..xxxO..xxxXxxx",
    "gallop": "X.xxX.xxX.xxX.xx",
    "open": "O.......O.......",
    "open_push": "O.....O.....O...",
    "power8": "o.o.o.o.o.o.o.o.",
    "tremolo": "tttttttttttttttt",
    "breakdown": "O..x..x...x.x...",
    "stops": "O.....O.........",
}

PENTATONIC = [0, 3, 5, 7, 10]


@dataclass
class Section:
    drums: str = None
    riff: str = None
    bass: str = None       # follow (the guitars' steps), eighths, roots (1 and 3), offbeat, long
    lead: str = None       # vocal, solo, arp (sixteenths)
    clean: bool = False    # a clean guitar arpeggio in eighths
    pad: bool = False
    pump: bool = False     # pad and bass duck on every beat, as under a sidechain
    level: int = 0         # velocity offset: quieter parts are lower
    fill: bool = True      # a fill ends the section (when the drums play)
    crash: bool = True     # a crash on its first beat


SECTIONS = {
    "intro_clean": Section(clean=True, level=-25, fill=False, crash=False),
    "intro_ride": Section(drums="ride_soft", clean=True, bass="roots", level=-15),
    "riff_alone": Section(riff="chug8", fill=False, crash=False),
    "verse": Section(drums="rock", riff="chug8", bass="follow", lead="vocal"),
    "verse_ride": Section(drums="rock_ride", riff="chug8", bass="follow", lead="vocal"),
    "verse_metal": Section(drums="double16", riff="chug16_open", bass="eighths"),
    "verse_metal16": Section(drums="double16", riff="chug16", bass="eighths", lead="vocal"),
    "verse_gallop": Section(drums="double_gallop", riff="gallop", bass="follow"),
    "verse_punk": Section(drums="punk", riff="power8", bass="eighths", lead="vocal"),
    "verse_dbeat": Section(drums="dbeat", riff="power8", bass="eighths"),
    "verse_skank": Section(drums="skank", riff="chug8", bass="follow"),
    "chorus": Section(drums="big", riff="open_push", bass="eighths", lead="vocal"),
    "chorus_ride": Section(drums="rock_ride", riff="open", bass="eighths", lead="vocal"),
    "halftime": Section(drums="halftime", riff="open", bass="roots", lead="vocal"),
    "breakdown": Section(drums="breakdown", riff="breakdown", bass="follow"),
    "blast": Section(drums="blast", riff="tremolo", bass="eighths"),
    "blast16": Section(drums="blast16", riff="tremolo", bass="eighths"),
    "solo": Section(drums="rock", riff="chug8", bass="follow", lead="solo"),
    "stops": Section(drums="stops", riff="stops", bass="follow", fill=False),
    "ballad_verse": Section(drums="ballad", clean=True, bass="roots", lead="vocal", level=-10),
    "ballad_chorus": Section(drums="ballad", riff="open", bass="roots", lead="vocal"),
    "d_intro": Section(drums="floor_kick", fill=False),
    "d_main": Section(drums="four_floor", bass="offbeat", pad=True, pump=True, lead="vocal"),
    "d_groove": Section(drums="four_floor", bass="offbeat", pad=True, pump=True),
    "d_break": Section(pad=True, lead="arp", level=-10, fill=False, crash=False),
    "d_build": Section(drums="floor_kick", pad=True, lead="arp", bass="offbeat", fill=True),
    "dnb": Section(drums="dnb", bass="long", pad=True, lead="vocal"),
}


@dataclass
class Band:
    name: str
    bpm: float
    form: list                       # (section, bars)
    guitar: int = 30                 # 29 overdriven, 30 distortion
    bass: int = 34                   # 33 finger, 34 pick, 38 synth
    lead: int = 53                   # 52 choir, 53 voice, 54 synth voice, 80 square, 81 saw
    clean: int = 27
    pad: int = 89
    key: int = 40                    # E2
    progression: tuple = (0, 0, 3, 5)
    chords_per_bar: int = 1
    push: float = 0.3                # share of chord changes played an eighth early
    swing: float = 0.5               # 0.5 straight, 0.66 triplet
    swing_step: int = 2
    jitter_ms: float = 6.0
    drift: float = 0.0
    master_db: float = -11.0
    drive: float = 0.0
    drums_volume: int = 100          # the kit's fader: 80 buried under the guitars, 120 in front
    dance: bool = False


def grid(song, rng, beats_needed):
    """The beat times, the first half a second in, with a wandering tempo."""
    beats, t, wander = [], 0.5, 0.0
    for _ in range(beats_needed):
        beats.append(t)
        if song.drift:
            wander = 0.97 * wander + rng.gauss(0.0, song.drift * 0.25)
            wander = max(-song.drift, min(song.drift, wander))
        t += 60.0 / (song.bpm * (1.0 + wander))
    return beats


class Player:
    """One musician: notes on the song's grid, moved by their own timing."""

    def __init__(self, song, beats, rng, notes, channel, lean_ms, jitter_scale=1.0):
        self.song, self.beats, self.rng, self.notes, self.channel = song, beats, rng, notes, channel
        self.lean = lean_ms / 1000.0
        self.jitter = jitter_scale

    def time(self, bar, step):
        t = step_time(self.beats, bar, step, self.song)
        spread = self.song.jitter_ms * self.jitter / 1000.0
        return max(0.0, t + self.lean + max(-2.5 * spread, min(2.5 * spread, self.rng.gauss(0.0, spread))))

    def play(self, bar, step, pitches, vel, length):
        t = self.time(bar, step)
        for p in pitches:
            self.notes.append((t, self.channel, p, max(1, min(127, vel)), length))

    def beat(self, bar):
        return self.beats[bar * 4 + 1] - self.beats[bar * 4]


def chord_root(song, bar, step, pushes):
    """The chord's root (semitones above the key) at a step: one chord per bar
    or per half bar, the next one taken an eighth early where it is pushed."""
    per = song.chords_per_bar
    index = bar * per + (step * per) // 16
    if pushes.get(bar) and step >= 14:
        index += 1
    elif per == 2 and pushes.get(bar) and 6 <= step < 8:
        index += 1
    return song.progression[index % len(song.progression)]


def play_drums(drums, bar, lines, level, rng):
    for note, line in lines.items():
        for step, mark in enumerate(line):
            if mark != ".":
                drums.play(bar, step, [note], velocity(mark, rng, 85 + level), 0.1)


def play_riff(guitars, song, bar, riff, level, pushes):
    events = [(s, m) for s, m in enumerate(riff) if m != "."]
    for player in guitars:
        for i, (step, mark) in enumerate(events):
            root = song.key + chord_root(song, bar, step, pushes)
            next_step = events[i + 1][0] if i + 1 < len(events) else 16
            sixteenth = player.beat(bar) / 4
            if mark == "O":
                pitches, vel, length = [root, root + 7, root + 12], 100, (next_step - step) * sixteenth * 0.95
            elif mark == "o":
                pitches, vel, length = [root, root + 7, root + 12], 96, 2 * sixteenth * 0.9
            elif mark == "t":
                pitches, vel, length = [root, root + 7], 88, sixteenth * 0.9
            else:  # a palm-muted chug: short, the fifth and root
                pitches, vel, length = [root, root + 7], 104 if mark == "X" else 92, min(0.09, sixteenth * 1.5)
            player.play(bar, step, pitches, vel + level + int(player.rng.gauss(0, 5)), length)


def play_bass(bass, song, bar, section, riff, level, pushes):
    steps = {
        "follow": [s for s, m in enumerate(riff or "X.......X.......") if m != "."],
        "eighths": list(range(0, 16, 2)),
        "roots": [0, 8],
        "offbeat": [2, 6, 10, 14],
        "long": [0],
    }[section.bass]
    sixteenth = bass.beat(bar) / 4
    for i, step in enumerate(steps):
        root = song.key - 12 + chord_root(song, bar, step, pushes)
        next_step = steps[i + 1] if i + 1 < len(steps) else 16
        length = (next_step - step) * sixteenth * (0.5 if section.bass == "offbeat" else 0.9)
        bass.play(bar, step, [root], 90 + level + int(bass.rng.gauss(0, 6)), length)


def play_clean(clean, song, bar, level, pushes):
    shape = [0, 7, 12, 15, 19, 15, 12, 7]
    for i, step in enumerate(range(0, 16, 2)):
        root = song.key + 12 + chord_root(song, bar, step, pushes)
        clean.play(bar, step, [root + shape[i] - 12], 80 + level + int(clean.rng.gauss(0, 6)), 2 * clean.beat(bar))


def play_pad(pad, song, bar, level, pushes):
    root = song.key + 24 + chord_root(song, bar, 0, pushes)
    pad.play(bar, 0, [root, root + 3, root + 7], 70 + level, 4 * pad.beat(bar) * 0.98)


def play_lead(lead, song, bar, kind, level, rng, state):
    """A sung (or synth) line in two-bar phrases with a breath, a guitar solo
    in runs of sixteenths, or an arpeggio of sixteenths."""
    sixteenth = lead.beat(bar) / 4
    base = song.key + 24
    if kind == "arp":
        shape = [0, 7, 12, 15, 12, 7, 3, 7]
        root = base + song.progression[bar % len(song.progression)]
        for step in range(16):
            lead.play(bar, step, [root + shape[step % 8]], 70 + level + int(rng.gauss(0, 5)), sixteenth * 0.8)
        return
    if kind == "solo":
        for step in range(16):
            if rng.random() < 0.75:
                state["pitch"] = max(0, min(9, state.get("pitch", 4) + rng.choice([-1, -1, 1, 1, 2, -2])))
                octave, degree = divmod(state["pitch"], 5)
                lead.play(bar, step, [base + 12 * octave + PENTATONIC[degree]], 95 + level, sixteenth * 0.9)
        return
    if bar % 2 == 0:
        state["rhythm"] = rng.choice([[0, 4, 6, 8, 12], [2, 4, 8, 10, 14], [0, 3, 6, 10, 12], [0, 8, 10, 12],
                                      [4, 6, 7, 10, 12, 14]])
        steps = state["rhythm"]
    else:
        steps = [s for s in state.get("rhythm", [0, 8]) if s < 8]     # shorter, then a breath
    for i, step in enumerate(steps):
        state["pitch"] = max(0, min(7, state.get("pitch", 3) + rng.choice([-2, -1, -1, 0, 1, 1, 2])))
        octave, degree = divmod(state["pitch"], 5)
        next_step = steps[i + 1] if i + 1 < len(steps) else 16
        lead.play(bar, step, [base + 12 * octave + PENTATONIC[degree]], 90 + level, (next_step - step) * sixteenth * 0.9)


def pump(controls, beats, bar, channels):
    """Each beat the pad and bass duck and come back, as under a sidechain."""
    for b in range(4):
        start, length = beats[bar * 4 + b], beats[bar * 4 + b + 1] - beats[bar * 4 + b]
        for share, value in ((0.0, 30), (0.12, 60), (0.25, 90), (0.4, 115), (0.55, 127)):
            for channel in channels:
                controls.append((start + share * length, channel, 11, value))


def song_notes(song, beats, rng):
    """Every note and controller of the song, and the time of its final hit."""
    notes, controls = [], []
    drums = Player(song, beats, rng, notes, DRUMS, rng.uniform(-3, 3))
    guitars = [Player(song, beats, rng, notes, GTR_L, rng.uniform(-4, 4), 1.2),
               Player(song, beats, rng, notes, GTR_R, rng.uniform(-4, 4), 1.2)]
    bass = Player(song, beats, rng, notes, BASS, rng.uniform(-2, 5), 1.2)
    lead = Player(song, beats, rng, notes, LEAD, rng.uniform(-10, 15), 2.0)
    solo = Player(song, beats, rng, notes, SOLO, rng.uniform(-5, 5), 1.5)
    clean = Player(song, beats, rng, notes, CLEAN, rng.uniform(-5, 5), 1.5)
    pad = Player(song, beats, rng, notes, PAD, 0.0, 0.0)
    lead_state = {}
    bar = 0
    for name, bars in song.form:
        section = SECTIONS[name]
        pushes = {b: rng.random() < song.push for b in range(bar, bar + bars)}
        for within in range(bars):
            last = within == bars - 1
            fill = section.drums and section.fill and last and bars >= 2
            if section.drums:
                lines = dict(DRUM_BARS[section.drums])
                if fill:
                    fill_lines = rng.choice(FILLS)
                    lines = {note: line[:8] + "." * 8 for note, line in lines.items()}
                    for note, line in fill_lines.items():
                        lines[note] = lines.get(note, "." * 16)[:8] + line[8:]
                play_drums(drums, bar, lines, section.level, rng)
                if within == 0 and section.crash:
                    drums.play(bar, 0, [CRASH, KICK], velocity("X", rng, 90), 0.5)
            riff = RIFFS.get(section.riff) if section.riff else None
            if riff and fill:
                riff = riff[:8] + "O......."
            if riff:
                play_riff(guitars, song, bar, riff, section.level, pushes)
            if section.bass:
                play_bass(bass, song, bar, section, riff, section.level, pushes)
            if section.clean:
                play_clean(clean, song, bar, section.level, pushes)
            if section.pad:
                play_pad(pad, song, bar, section.level, pushes)
            if section.lead:
                play_lead(solo if section.lead == "solo" else lead, song, bar, section.lead, section.level, rng,
                          lead_state)
            for channel in (PAD, BASS):
                if section.pump:
                    pump(controls, beats, bar, [channel])
                elif within == 0:
                    controls.append((beats[bar * 4], channel, 11, 127))
            bar += 1
    # The end: one hit on the next downbeat, cut short.
    final = beats[bar * 4]
    drums.play(bar, 0, [KICK, CRASH], 120, 0.3)
    root = song.key + song.progression[0]
    for player in guitars:
        player.play(bar, 0, [root, root + 7, root + 12], 110, 0.35)
    bass.play(bar, 0, [song.key - 12 + song.progression[0]], 100, 0.35)
    return notes, controls, final


def band_midi(song, notes, controls, channels):
    programs = {BASS: song.bass, GTR_L: song.guitar, GTR_R: song.guitar, LEAD: song.lead, CLEAN: song.clean,
                PAD: song.pad, SOLO: song.guitar}
    volumes = {BASS: 100, GTR_L: 96, GTR_R: 96, LEAD: 88, CLEAN: 90, PAD: 72, SOLO: 92}
    pans = {GTR_L: 18, GTR_R: 110, SOLO: 80, CLEAN: 50}
    setup = [(0xB0 | DRUMS, 7, song.drums_volume)] if DRUMS in channels else []
    for channel in sorted(programs):
        if channel in channels:
            setup += [(0xC0 | channel, programs[channel]), (0xB0 | channel, 7, volumes[channel]),
                      (0xB0 | channel, 10, pans.get(channel, 64))]
    return midi_bytes([n for n in notes if n[1] in channels], setup, [c for c in controls if c[1] in channels])


def write_song(song, folder):
    rng = random.Random(song.name)
    bars = sum(b for _, b in song.form)
    beats = grid(song, rng, 4 * bars + 8)
    notes, controls, final = song_notes(song, beats, rng)
    everything = set(range(16))
    parts = {"": everything, "guitars/": set(GUITARS), "rest/": everything - set(GUITARS)}
    for folder_part, channels in parts.items():
        os.makedirs(f"{folder}/{folder_part}", exist_ok=True)
        with open(f"{folder}/{folder_part}{song.name}.mid", "wb") as out:
            out.write(band_midi(song, notes, controls, channels))
    write_times(f"{folder}/{song.name}.beats", [t for t in beats if t <= final + 1e-6])
    write_times(f"{folder}/{song.name}.end", [final + 0.4])
    with open(f"{folder}/{song.name}.mix", "w") as out:
        out.write(f"{song.master_db:.1f} {song.drive:.0f}\n")


def B(name, bpm, form, **kw):
    return Band(name, bpm, form, **kw)


def D(name, bpm, form, **kw):
    settings = dict(bass=38, lead=81, pad=89, push=0.0, jitter_ms=2.0)
    settings.update(kw)
    return Band(name, bpm, form, dance=True, **settings)


# Rendered with FluidR3 and tuned on.
TUNING = [
    B("tb01_ballad_66", 66, [("intro_clean", 4), ("ballad_verse", 8), ("ballad_chorus", 8), ("stops", 1),
                             ("ballad_chorus", 6)], lead=52, guitar=29, master_db=-14, jitter_ms=9),
    B("tb02_groove_95", 95, [("riff_alone", 2), ("verse", 8), ("chorus", 8), ("breakdown", 4), ("verse", 8),
                             ("chorus", 8)], guitar=30, progression=(0, 0, 3, 1), master_db=-10, drive=8,
      drums_volume=115),
    B("tb03_hardrock_100", 100, [("intro_ride", 4), ("verse_ride", 8), ("chorus", 8), ("solo", 8), ("chorus", 8)],
      guitar=29, lead=53, progression=(0, 8, 10, 0), swing=0.6, master_db=-12),
    B("tb04_metalcore_120", 120, [("verse_metal", 8), ("chorus", 8), ("breakdown", 8), ("blast16", 4),
                                  ("chorus", 8)], progression=(0, 1, 3, 0), master_db=-9, drive=12),
    B("tb05_rock_135", 135, [("intro_clean", 4), ("verse", 8), ("chorus", 8), ("stops", 2), ("verse", 8),
                             ("chorus", 8), ("halftime", 4), ("chorus", 8)], guitar=29, lead=54,
      progression=(0, 5, 8, 10), chords_per_bar=2, master_db=-11),
    B("tb06_thrash_140", 140, [("riff_alone", 2), ("verse_gallop", 8), ("chorus", 8), ("verse_gallop", 8),
                               ("breakdown", 4), ("chorus", 8)], progression=(0, 3, 0, 6), master_db=-10, drive=10),
    B("tb07_punk_150", 150, [("verse_punk", 8), ("chorus", 8), ("verse_punk", 8), ("stops", 2), ("chorus", 8),
                             ("chorus", 8)], guitar=29, progression=(0, 5, 7, 5), master_db=-9, jitter_ms=8),
    B("tb08_metal_170", 170, [("intro_clean", 4), ("verse_metal16", 8), ("chorus", 8), ("verse_metal", 8),
                              ("halftime", 8), ("chorus", 8)], progression=(0, 3, 5, 1), master_db=-10, drive=14,
      drums_volume=80),
    B("tb09_thrash_180", 180, [("verse_skank", 8), ("chorus", 8), ("blast", 8), ("verse_skank", 8),
                               ("breakdown", 4), ("chorus", 8)], progression=(0, 0, 5, 3), master_db=-9, drive=12),
    B("tb10_hardcore_190", 190, [("verse_dbeat", 8), ("chorus", 8), ("verse_dbeat", 8), ("halftime", 8),
                                 ("chorus", 8)], guitar=29, progression=(0, 3, 5, 3), master_db=-11),
    B("tb11_speed_200", 200, [("riff_alone", 4), ("verse_metal16", 8), ("chorus", 8), ("blast", 8),
                              ("chorus", 8)], progression=(0, 1, 0, 3), master_db=-10, drive=10, jitter_ms=5,
      drums_volume=85),
    B("tb12_shuffle_110", 110, [("verse", 8), ("chorus_ride", 8), ("verse", 8), ("chorus_ride", 8)],
      swing=0.66, guitar=29, lead=53, progression=(0, 5, 0, 7), master_db=-13, drift=0.01, jitter_ms=9),
    # Fast metal a light may follow at half time: gallops, tremolo over blasts, a skank beat.
    B("tb13_metal_176", 176, [("riff_alone", 4), ("verse_metal16", 8), ("verse_gallop", 8), ("chorus", 8),
                              ("blast16", 8), ("halftime", 4), ("verse_gallop", 8), ("chorus", 8)],
      progression=(0, 5, 3, 1), master_db=-9, drive=12, drums_volume=90),
    B("tb14_thrash_184", 184, [("verse_skank", 8), ("blast", 8), ("chorus", 8), ("breakdown", 4), ("verse_skank", 8),
                               ("chorus", 8)], progression=(0, 3, 6, 5), master_db=-10, drive=10, jitter_ms=7),
    B("tb15_gallop_158", 158, [("riff_alone", 2), ("verse_gallop", 8), ("chorus", 8), ("verse_gallop", 8),
                               ("stops", 2), ("chorus", 8)], guitar=29, progression=(0, 1, 3, 0), master_db=-9, drive=8),
    D("td01_house_124", 124, [("d_intro", 8), ("d_groove", 8), ("d_main", 8), ("d_break", 16), ("d_build", 4),
                              ("d_main", 8)], progression=(0, 8, 3, 10), master_db=-9),
    D("td02_edm_128", 128, [("d_intro", 8), ("d_main", 16), ("d_break", 16), ("d_build", 8), ("d_main", 8)],
      progression=(0, 5, 8, 7), master_db=-8, lead=80),
    D("td03_dnb_174", 174, [("d_break", 8), ("dnb", 16), ("d_break", 8), ("dnb", 16)], progression=(0, 0, 8, 10),
      master_db=-10),
]
# Rendered with TimGM6mb at 48 kHz, their tempi and forms their own: for the honest figure only.
HELD_OUT = [
    B("hb01_ballad_72", 72, [("intro_clean", 4), ("ballad_verse", 8), ("ballad_chorus", 8), ("ballad_verse", 4),
                             ("ballad_chorus", 8)], lead=53, guitar=29, progression=(0, 8, 3, 10), master_db=-13),
    B("hb02_groove_98", 98, [("riff_alone", 2), ("verse_ride", 8), ("breakdown", 4), ("chorus", 8), ("verse", 8),
                             ("chorus", 8)], progression=(0, 3, 1, 0), master_db=-10, drive=10, jitter_ms=8),
    B("hb03_rock_112", 112, [("intro_clean", 4), ("verse", 8), ("chorus", 8), ("stops", 2), ("solo", 8),
                             ("chorus", 8)], guitar=29, lead=54, progression=(0, 10, 8, 10), chords_per_bar=2,
      master_db=-12, swing=0.57),
    B("hb04_alt_128", 128, [("verse_ride", 8), ("halftime", 8), ("chorus", 8), ("verse", 8), ("chorus", 8)],
      guitar=29, lead=52, progression=(0, 7, 9, 5), master_db=-11, drift=0.008, drums_volume=115),
    B("hb05_metalcore_145", 145, [("verse_metal", 8), ("chorus", 8), ("breakdown", 8), ("verse_metal16", 8),
                                  ("chorus", 8)], progression=(0, 1, 5, 3), master_db=-9, drive=12),
    B("hb06_punk_160", 160, [("verse_punk", 8), ("chorus", 8), ("verse_dbeat", 8), ("chorus", 8), ("chorus", 4)],
      guitar=29, progression=(0, 7, 5, 7), master_db=-10, jitter_ms=9),
    B("hb07_metal_175", 175, [("riff_alone", 2), ("verse_gallop", 8), ("chorus", 8), ("blast16", 4),
                              ("verse_metal16", 8), ("halftime", 4), ("chorus", 8)], progression=(0, 3, 1, 0),
      master_db=-10, drive=14, drums_volume=85),
    B("hb08_thrash_186", 186, [("verse_skank", 8), ("chorus", 8), ("blast", 8), ("breakdown", 4), ("chorus", 8)],
      progression=(0, 6, 5, 3), master_db=-9, drive=10),
    B("hb09_hardcore_195", 195, [("verse_dbeat", 8), ("halftime", 8), ("chorus", 8), ("verse_punk", 8),
                                 ("chorus", 8)], guitar=29, progression=(0, 5, 3, 5), master_db=-12, jitter_ms=7),
    D("hd01_house_126", 126, [("d_intro", 8), ("d_main", 16), ("d_break", 16), ("d_build", 4), ("d_main", 8)],
      progression=(0, 3, 8, 7), master_db=-9),
    D("hd02_trance_136", 136, [("d_intro", 8), ("d_groove", 8), ("d_break", 16), ("d_build", 8), ("d_main", 16)],
      progression=(0, 8, 5, 10), master_db=-8, lead=80),
]
SONGS = {**{s.name: ("tuning", "dance" if s.dance else "band", s) for s in TUNING},
         **{s.name: ("held-out", "dance" if s.dance else "band", s) for s in HELD_OUT}}
