"""What the drum songs (make_midi.py) and the band songs (band_songs.py) share:
General MIDI drum notes, a player's timing and dynamics, and the MIDI file."""
import struct

# General MIDI drum notes.
KICK, SIDESTICK, SNARE, CLAP, HAT, PEDAL_HAT, OPEN_HAT = 36, 37, 38, 39, 42, 44, 46
LOW_TOM, MID_TOM, HIGH_TOM, CRASH, RIDE, TAMBOURINE = 45, 47, 50, 49, 51, 54
CHINA, RIDE_BELL, SPLASH, HIGH_FLOOR_TOM = 52, 53, 55, 43


def step_time(beats, bar, step, song):
    """Time of a sixteenth step of a bar on the grid, swung by song.swing
    (0.5 straight) on pairs of song.swing_step sixteenths."""
    beat = bar * 4 + step // 4
    within = (step % 4) / 4.0
    if song.swing != 0.5:
        pair = song.swing_step / 2.0               # a swung pair's length in beats
        position = within % pair
        if abs(position - pair / 2) < 1e-9:        # the off-beat of the pair
            within += (song.swing - 0.5) * pair
    return beats[beat] + within * (beats[beat + 1] - beats[beat])


def velocity(mark, rng, base):
    level = {"X": base + 20, "x": base, "g": base - 45}[mark]
    return max(20, min(127, int(level + rng.gauss(0, 9))))


def human(t, rng, song):
    """`t` moved as a player's hand moves it: a spread of song.jitter_ms, bounded."""
    spread = song.jitter_ms / 1000.0
    return t + max(-2.5 * spread, min(2.5 * spread, rng.gauss(0.0, spread)))


def variable_length(value):
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.insert(0, 0x80 | (value & 0x7F))
        value >>= 7
    return bytes(out)


def midi_bytes(notes, setup, controls=()):
    """A format 0 file at 2000 ticks per second (960 per quarter at a tempo of
    480000 us): `notes` (time s, channel, note, velocity, length s), after the
    `setup` messages (raw channel messages at time 0, in order) and with
    `controls` (time s, channel, controller, value) among the notes."""
    ticks_per_second = 2000
    events = []
    for t, channel, note, vel, length in notes:
        start = int(round(t * ticks_per_second))
        events.append((start, 1, bytes([0x90 | channel, note, vel])))
        events.append((start + max(1, int(round(length * ticks_per_second))), 0, bytes([0x80 | channel, note, 0])))
    for t, channel, controller, value in controls:
        events.append((int(round(t * ticks_per_second)), 0, bytes([0xB0 | channel, controller, value])))
    events.sort(key=lambda e: (e[0], e[1]))
    track = bytearray()
    track += b"\x00\xff\x51\x03" + (480000).to_bytes(3, "big")
    for message in setup:
        track += b"\x00" + bytes(message)
    last = 0
    for tick, _, data in events:
        track += variable_length(tick - last) + data
        last = tick
    track += b"\x00\xff\x2f\x00"
    return b"MThd" + struct.pack(">IHHH", 6, 0, 1, 960) + b"MTrk" + struct.pack(">I", len(track)) + bytes(track)


def write_times(path, times):
    with open(path, "w") as out:
        out.writelines(f"{t:.4f}\n" for t in times)
