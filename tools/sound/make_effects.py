#!/usr/bin/env python3
"""Synthesise the game's three sound effects and write them as WAV files
(16-bit PCM, mono, 22050 Hz) to assets/game/sounds/:

    777.wav    a short cheerful brass fanfare (success)
    other.wav  a descending two-note "bloop" (a miss)
    karu.wav   two quick snips of shears (a sheep is shorn)

    python3 tools/sound/make_effects.py [output-dir]

Everything is made from sine partials, envelopes and filtered noise from a
fixed-seed generator, so the files are identical on every run.  Each sound
is normalised to a peak of -3 dBFS and faded in and out over a few
milliseconds so it starts and ends without a click.
"""

import math
import os
import struct
import sys
import wave

RATE = 22050
PEAK = 10 ** (-3 / 20.0)   # -3 dBFS


def silence(seconds):
    return [0.0] * int(round(seconds * RATE))


def add(buf, start, samples, gain=1.0):
    """Mix `samples` into `buf` starting at time `start` (seconds)."""
    i0 = int(round(start * RATE))
    need = i0 + len(samples) - len(buf)
    if need > 0:
        buf.extend([0.0] * need)
    for i, s in enumerate(samples):
        buf[i0 + i] += s * gain


def envelope(n, attack, decay, sustain, release):
    """Attack/decay/sustain/release envelope over n samples (times in s)."""
    a = max(1, int(attack * RATE))
    d = max(1, int(decay * RATE))
    r = max(1, int(release * RATE))
    out = []
    for i in range(n):
        if i < a:
            v = i / float(a)
        elif i < a + d:
            v = 1.0 - (1.0 - sustain) * (i - a) / float(d)
        else:
            v = sustain
        if i > n - r:
            v *= max(0.0, (n - i) / float(r))
        out.append(v)
    return out


def tone(freq, seconds, partials, env, vibrato=0.0, glide_to=None, glide_time=None):
    """Additive tone: `partials` are the amplitudes of harmonics 1, 2, 3...
    The pitch may glide to `glide_to` over `glide_time` seconds (or the
    whole note) and wobble with a gentle vibrato (in semitones)."""
    n = int(round(seconds * RATE))
    env = envelope(n, *env)
    out = []
    phase = 0.0
    gt = glide_time or seconds
    for i in range(n):
        t = i / float(RATE)
        f = freq
        if glide_to is not None:
            k = min(1.0, t / gt)
            f = freq * (glide_to / freq) ** k
        if vibrato:
            f *= 2 ** (vibrato * math.sin(2 * math.pi * 5.5 * t) * min(1.0, t / 0.15) / 12.0)
        phase += 2 * math.pi * f / RATE
        s = sum(a * math.sin(h * phase) for h, a in enumerate(partials, 1))
        out.append(s * env[i])
    return out


class Noise:
    """White noise from a linear congruential generator (fixed seed)."""

    def __init__(self, seed):
        self.state = seed

    def sample(self):
        self.state = (self.state * 1103515245 + 12345) & 0x7fffffff
        return self.state / float(0x3fffffff) - 1.0


def one_pole_lowpass(samples, cutoff):
    k = 1.0 - math.exp(-2 * math.pi * cutoff / RATE)
    y, out = 0.0, []
    for s in samples:
        y += k * (s - y)
        out.append(y)
    return out


def one_pole_highpass(samples, cutoff):
    low = one_pole_lowpass(samples, cutoff)
    return [s - l for s, l in zip(samples, low)]


def finish(buf, fade_in=0.003, fade_out=0.02):
    """Normalise to the target peak and fade both ends."""
    peak = max(abs(s) for s in buf) or 1.0
    buf = [s * PEAK / peak for s in buf]
    fi = int(fade_in * RATE)
    fo = int(fade_out * RATE)
    for i in range(fi):
        buf[i] *= i / float(fi)
    for i in range(fo):
        buf[len(buf) - 1 - i] *= i / float(fo)
    return buf


def write_wav(path, buf):
    frames = b''.join(struct.pack('<h', max(-32767, min(32767, int(round(s * 32767)))))
                      for s in buf)
    with wave.open(path, 'wb') as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(frames)


def hz(note):
    """MIDI note number -> frequency."""
    return 440.0 * 2 ** ((note - 69) / 12.0)


# --- the three effects ---------------------------------------------------------

BRASS = [1.0, 0.7, 0.5, 0.35, 0.22, 0.14, 0.08, 0.05]


def fanfare():
    """A rising C major call, G4 C5 E5 G5 - E5 G5, ending on a long G5 over
    a C major chord, with a little bell sparkle on top."""
    buf = silence(1.35)
    calls = [(0.00, 67, 0.09), (0.10, 72, 0.09), (0.20, 76, 0.09),
             (0.30, 79, 0.13), (0.45, 76, 0.09)]
    for start, note, length in calls:
        add(buf, start, tone(hz(note), length, BRASS, (0.008, 0.04, 0.75, 0.02)), 0.8)
    add(buf, 0.56, tone(hz(79), 0.78, BRASS, (0.01, 0.1, 0.7, 0.3), vibrato=0.15))
    for note in (72, 76):  # the chord under the last note
        add(buf, 0.56, tone(hz(note), 0.78, BRASS[:5], (0.02, 0.1, 0.6, 0.3)), 0.45)
    add(buf, 0.56, tone(hz(48), 0.78, [1.0, 0.5, 0.3], (0.02, 0.1, 0.6, 0.3)), 0.5)
    for k, note in enumerate((96, 100, 103, 108)):  # sparkle: C7 E7 G7 C8
        add(buf, 0.60 + 0.06 * k, tone(hz(note), 0.35, [1.0, 0.0, 0.0, 0.1],
                                        (0.002, 0.05, 0.3, 0.25)), 0.12)
    return finish(buf)


def miss():
    """Two soft round notes falling away: a short E4, then a B3 sagging
    down to G3."""
    buf = silence(0.66)
    timbre = [1.0, 0.35, 0.15, 0.05]
    add(buf, 0.0, tone(hz(64) * 1.03, 0.22, timbre, (0.012, 0.06, 0.55, 0.06),
                       glide_to=hz(64), glide_time=0.04))
    add(buf, 0.24, tone(hz(59) * 1.03, 0.42, timbre, (0.012, 0.08, 0.6, 0.2),
                        glide_to=hz(55), glide_time=0.38))
    return finish(buf, fade_out=0.03)


def shears():
    """Two snips: each a short rising scrape of band-limited noise (the
    blades sliding over each other) that ends in the click of the blades
    meeting, with a faint metallic ring."""
    noise = Noise(20240917)
    buf = silence(0.24)
    for start, pitch in ((0.0, 1.0), (0.11, 1.12)):
        slide = 0.028
        n = int(0.06 * RATE)
        raw = [noise.sample() for _ in range(n)]
        band = raw
        for _ in range(2):   # two passes of each filter: a steeper band
            band = one_pole_lowpass(one_pole_highpass(band, 2500 * pitch), 6500)
        scrape = []
        for i, s in enumerate(band):
            t = i / float(RATE)
            if t < slide:
                e = (t / slide) ** 2
            else:
                e = math.exp(-(t - slide) / 0.006)
            scrape.append(s * e)
        add(buf, start, scrape, 1.6)
        click = [noise.sample() * math.exp(-i / (0.001 * RATE)) for i in range(int(0.008 * RATE))]
        add(buf, start + slide, one_pole_highpass(click, 3000), 0.8)
        add(buf, start + slide, tone(3150 * pitch, 0.08, [1.0], (0.001, 0.01, 0.5, 0.07)), 0.18)
        add(buf, start + slide, tone(4720 * pitch, 0.06, [1.0], (0.001, 0.01, 0.4, 0.05)), 0.1)
    return finish(buf, fade_in=0.002, fade_out=0.02)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, '..', '..', 'assets', 'game', 'sounds')
    out = os.path.normpath(out)
    os.makedirs(out, exist_ok=True)
    write_wav(os.path.join(out, '777.wav'), fanfare())
    write_wav(os.path.join(out, 'other.wav'), miss())
    write_wav(os.path.join(out, 'karu.wav'), shears())


if __name__ == '__main__':
    main()
