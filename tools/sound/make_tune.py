#!/usr/bin/env python3
"""Compose the game's background tune and write it as a Standard MIDI File
(format 1, General MIDI) to assets/game/sounds/maki.mid.

    python3 tools/sound/make_tune.py [output-file]

A gentle pastoral piece in G major, 6/8 time, about a minute long:

    bars  1-2   introduction: harp and pizzicato bass alone
    bars  3-18  A: the flute's tune, stated twice (half close, then full close)
    bars 19-26  B: the oboe takes over in E minor colours
    bars 27-34  A again on the flute, the oboe singing a third below
    bars 35-38  a short closing phrase that slows down onto the home chord

Instruments (General MIDI programs, counted from 0): flute 73, oboe 68,
orchestral harp 46, pizzicato strings 45 for the bass, and light
percussion (maracas and triangle) on channel 10.
"""

import os
import struct
import sys

TPQ = 480                 # ticks per quarter note
SIX = TPQ // 4            # one sixteenth
BAR = 12 * SIX            # one bar of 6/8
TEMPO_US = 533333         # quarter = 112.5, so a dotted quarter = 75 a minute
FINAL_RING = BAR + BAR // 4   # how long the last chord is held

NOTE_BASE = {'C': 0, 'D': 2, 'E': 4, 'F': 5, 'G': 7, 'A': 9, 'B': 11}


def midi(name):
    """'F#5' -> 78 (middle C, C4, is 60)."""
    pitch = NOTE_BASE[name[0]]
    rest = name[1:]
    while rest and rest[0] in '#b':
        pitch += 1 if rest[0] == '#' else -1
        rest = rest[1:]
    return pitch + 12 * (int(rest) + 1)


def bars(text):
    """Parse a melody written as 'NOTE:len NOTE:len | ...' with lengths in
    sixteenths; 'r' is a rest.  Each bar must add up to 12 sixteenths."""
    out = []
    for b in text.split('|'):
        items = b.split()
        if not items:
            continue
        total = 0
        bar = []
        for item in items:
            name, length = item.split(':')
            bar.append((None if name == 'r' else midi(name), int(length)))
            total += int(length)
        assert total == 12, (b, total)
        out.append(bar)
    return out


# --- the music ------------------------------------------------------------------

# One chord per bar (a pair of chords would be written as two entries with
# their lengths in sixteenths).
CHORDS = {
    'G': ('G', 'B', 'D'), 'C': ('C', 'E', 'G'), 'D': ('D', 'F#', 'A'),
    'D7': ('D', 'F#', 'A', 'C'), 'Em': ('E', 'G', 'B'), 'Am': ('A', 'C', 'E'),
    'Bm': ('B', 'D', 'F#'),
}

INTRO_CHORDS = ['G', 'D']
A1_CHORDS = ['G', 'Em', 'C', 'D', 'G', 'Em', 'Am', 'D']
A2_CHORDS = ['G', 'Em', 'C', 'D', 'G', 'C', 'D7', 'G']
B_CHORDS = ['Em', 'Bm', 'C', 'G', 'Am', 'Em', 'C', 'D7']
CODA_CHORDS = ['C', 'G', 'D7', 'G']

SONG_CHORDS = INTRO_CHORDS + A1_CHORDS + A2_CHORDS + B_CHORDS + A2_CHORDS + CODA_CHORDS

A_OPEN = 'B4:4 D5:2 G5:4 F#5:2 | E5:4 G5:2 B4:6 | C5:4 E5:2 G5:4 E5:2 | F#5:4 E5:2 D5:6 |'
A1 = bars(A_OPEN + 'B4:4 D5:2 G5:4 A5:2 | B5:4 A5:2 G5:4 E5:2 | A5:4 G5:2 E5:4 C5:2 |'
                   'D5:4 E5:2 F#5:6')
A2 = bars(A_OPEN + 'B4:4 D5:2 G5:4 B5:2 | C6:4 B5:2 A5:4 G5:2 | F#5:4 G5:2 A5:4 F#5:2 |'
                   'G5:12')
B = bars('E5:4 F#5:2 G5:4 F#5:2 | F#5:4 D5:2 B4:6 | E5:4 G5:2 C6:6 | B5:4 A5:2 G5:6 |'
         'A5:4 G5:2 E5:4 C5:2 | B4:4 E5:2 G5:4 E5:2 | E5:4 D5:2 C5:4 E5:2 | F#5:6 D5:6')
CODA_FLUTE = bars('G5:6 E5:6 | D5:6 B4:6 | C5:4 B4:2 A4:4 F#4:2 | G4:12')
CODA_OBOE = bars('E5:6 C5:6 | B4:6 G4:6 | A4:6 F#4:6 | B4:12')

G_MAJOR = [midi(n) % 12 for n in ('G4', 'A4', 'B4', 'C5', 'D5', 'E5', 'F#5')]


def third_below(note):
    """The note a diatonic third lower in G major."""
    steps = 0
    n = note
    while steps < 2:
        n -= 1
        if n % 12 in G_MAJOR:
            steps += 1
    return n


# --- building the tracks -------------------------------------------------------

class Track:
    def __init__(self, name, channel=None, program=None, volume=100, pan=64):
        """A track named `name`; with a channel it starts with the program
        change, volume, pan and reverb settings of its instrument."""
        self.channel = channel
        self.events = []          # (tick, order, bytes)
        self.end = 0
        self.meta(0, 0x03, name.encode('ascii'))
        if channel is None:
            return
        self.add(0, bytes((0xC0 | channel, program)))
        self.add(0, bytes((0xB0 | channel, 7, volume)))
        self.add(0, bytes((0xB0 | channel, 10, pan)))
        self.add(0, bytes((0xB0 | channel, 91, 56)))   # reverb send

    def add(self, tick, data, order=1):
        self.events.append((tick, order, data))

    def meta(self, tick, kind, data):
        self.add(tick, bytes((0xFF, kind)) + varlen(len(data)) + data, order=0)

    def note(self, tick, pitch, length, velocity):
        # note-offs sort before note-ons at the same tick, so repeated notes
        # are cleanly re-struck
        self.add(tick, bytes((0x90 | self.channel, pitch, velocity)), order=2)
        self.add(tick + length, bytes((0x80 | self.channel, pitch, 0)), order=1)

    def encode(self):
        evs = sorted(self.events, key=lambda e: (e[0], e[1]))
        end = max([e[0] for e in evs] + [self.end])
        out = bytearray()
        last = 0
        for tick, _, data in evs:
            out += varlen(tick - last) + data
            last = tick
        out += varlen(end - last) + b'\xff\x2f\x00'   # end of track
        return b'MTrk' + struct.pack('>I', len(out)) + bytes(out)


def varlen(value):
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.append((value & 0x7F) | 0x80)
        value >>= 7
    return bytes(reversed(out))


def play_melody(track, start_bar, melody, base_velocity, legato=0.92, transform=None):
    tick = start_bar * BAR
    for bar in melody:
        pos = 0
        for pitch, length in bar:
            if pitch is not None:
                p = transform(pitch) if transform else pitch
                accent = 8 if pos == 0 else (4 if pos == 6 else 0)
                dur = int(length * SIX * legato)
                track.note(tick + pos * SIX, p, dur, base_velocity + accent)
            pos += length
        tick += BAR


def chord_notes(name, octave):
    return [midi(n + str(octave)) for n in CHORDS[name]]


def fit(note, low, high):
    while note < low:
        note += 12
    while note > high:
        note -= 12
    return note


def harp_bar(track, bar_index, chord, final=False):
    """A broken chord in six eighths: low root, fifth, root, third, fifth,
    third, each left to ring on."""
    tick = bar_index * BAR
    names = CHORDS[chord]
    root = fit(midi(names[0] + '3'), 43, 54)
    third = fit(midi(names[1] + '4'), root + 12, root + 24)
    fifth = fit(midi(names[2] + '3'), root, root + 12)
    top = fit(midi(names[3] + '4'), root + 12, root + 24) if len(names) > 3 else fifth + 12
    if final:
        for k, p in enumerate((root - 12, root, fifth, root + 12, third, fifth + 12, root + 24)):
            track.note(tick + k * 40, p, FINAL_RING - k * 40, 58)
        return
    pattern = [root, fifth, root + 12, third, top, third]
    for k, p in enumerate(pattern):
        vel = 64 if k == 0 else (56 if k == 3 else 48)
        track.note(tick + k * 2 * SIX, p, 4 * SIX, vel)


def bass_bar(track, bar_index, chord, final=False):
    tick = bar_index * BAR
    names = CHORDS[chord]
    root = fit(midi(names[0] + '2'), 36, 47)
    fifth = fit(midi(names[2] + '2'), root + 1, root + 12)
    if final:
        track.note(tick, root, FINAL_RING, 84)
        return
    track.note(tick, root, 5 * SIX, 86)
    track.note(tick + 6 * SIX, fifth, 5 * SIX, 74)


def percussion_bar(track, bar_index, triangle):
    tick = bar_index * BAR
    if triangle:
        track.note(tick, 81, 6 * SIX, 46)        # open triangle
    for k, vel in enumerate((44, 22, 28, 38, 22, 28)):
        track.note(tick + k * 2 * SIX, 70, SIX, vel)   # maracas


def compose():
    conductor = Track('Woolmere meadow tune')
    conductor.meta(0, 0x58, bytes((6, 3, 36, 8)))        # 6/8, click each dotted quarter
    conductor.meta(0, 0x59, bytes((1, 0)))               # G major
    conductor.meta(0, 0x51, TEMPO_US.to_bytes(3, 'big'))
    # the closing bars broaden
    n_bars = len(SONG_CHORDS)
    conductor.meta((n_bars - 2) * BAR, 0x51, int(TEMPO_US * 1.12).to_bytes(3, 'big'))
    conductor.meta((n_bars - 1) * BAR, 0x51, int(TEMPO_US * 1.28).to_bytes(3, 'big'))

    flute = Track('Flute', 0, 73, 104, 56)
    oboe = Track('Oboe', 1, 68, 92, 76)
    harp = Track('Harp', 2, 46, 88, 44)
    bass = Track('Pizzicato bass', 3, 45, 96, 64)
    drums = Track('Percussion', 9, 0, 64, 70)

    play_melody(flute, 2, A1, 78)
    play_melody(flute, 10, A2, 80)
    play_melody(oboe, 18, B, 80)
    play_melody(flute, 26, A2, 82)
    play_melody(oboe, 26, A2, 60, transform=third_below)
    play_melody(flute, 34, CODA_FLUTE, 74)
    play_melody(oboe, 34, CODA_OBOE, 60)

    for i, chord in enumerate(SONG_CHORDS):
        final = i == n_bars - 1
        harp_bar(harp, i, chord, final)
        bass_bar(bass, i, chord, final)
        if 2 <= i < n_bars - 4:
            percussion_bar(drums, i, triangle=(i - 2) % 4 == 0)
    drums.note((n_bars - 1) * BAR, 81, BAR, 40)

    # every track ends together, when the last chord has died away
    end = (n_bars - 1) * BAR + FINAL_RING
    for t in (conductor, flute, oboe, harp, bass, drums):
        t.end = end
    return [conductor, flute, oboe, harp, bass, drums]


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        here, '..', '..', 'assets', 'game', 'sounds', 'maki.mid')
    path = os.path.normpath(path)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    tracks = compose()
    header = b'MThd' + struct.pack('>IHHH', 6, 1, len(tracks), TPQ)
    with open(path, 'wb') as f:
        f.write(header + b''.join(t.encode() for t in tracks))


if __name__ == '__main__':
    main()
