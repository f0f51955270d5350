#!/usr/bin/env python3
"""Writes the player's five built-in interface sounds beside this script.

Each is a RIFF WAVE clip, PCM, one channel, 8 bits, 12,000 samples per second: a short
chime when the menu starts, a tick when an item is highlighted, a click when one is
chosen, a rising sweep when the menu changes and a falling tone when the program ends.
They are quiet (peaks at about a third of full scale) and every tone starts and ends
smoothly, so no clip begins or ends with a crack. The short clips differ a little in
length (0.08 to 0.12 s), so a trace of the sizes played tells them apart. The output is
the same on every run.

Usage: make-sounds.py [output folder]   (standard library only)
"""

import math
import pathlib
import sys
import wave

RATE = 12000
PEAK = 0.35  # of full scale


def tone(seconds, frequency, decay, attack=0.004, harmonic=0.0):
    """A sine whose frequency may glide (frequency is a function of the time), with a
    short linear attack, an exponential decay (time constant in seconds) and a cosine
    fade over the last 10 ms."""
    samples = []
    phase = 0.0
    count = int(seconds * RATE)
    fade = int(0.010 * RATE)
    for i in range(count):
        t = i / RATE
        phase += 2 * math.pi * frequency(t) / RATE
        level = min(1.0, t / attack) * math.exp(-t / decay)
        if i >= count - fade:
            level *= 0.5 * (1 + math.cos(math.pi * (i - (count - fade)) / fade))
        samples.append(level * (math.sin(phase) + harmonic * math.sin(2 * phase)) / (1 + harmonic))
    return samples


def mix(length, *parts):
    """Adds (start in seconds, samples) parts into a clip of length seconds."""
    out = [0.0] * int(length * RATE)
    for start, samples in parts:
        offset = int(start * RATE)
        for i, value in enumerate(samples[: len(out) - offset]):
            out[offset + i] += value
    return out


def constant(frequency):
    return lambda t: frequency


def glide(start, end, seconds):
    """A glide from start to end Hz over seconds, even in pitch (exponential in Hz)."""
    return lambda t: start * (end / start) ** min(1.0, t / seconds)


def write(path, samples):
    loudest = max(abs(s) for s in samples)
    scale = PEAK / loudest
    data = bytes(max(0, min(255, round(128 + 127 * s * scale))) for s in samples)
    with wave.open(str(path), "wb") as clip:
        clip.setnchannels(1)
        clip.setsampwidth(1)
        clip.setframerate(RATE)
        clip.writeframes(data)


def main():
    folder = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parent)
    # C6, E6, G6 struck one after another and ringing on together: a major chord.
    chime = mix(
        0.45,
        (0.00, tone(0.45, constant(1046.5), 0.16, harmonic=0.2)),
        (0.07, tone(0.38, constant(1318.5), 0.14, harmonic=0.2)),
        (0.14, tone(0.31, constant(1568.0), 0.12, harmonic=0.2)),
    )
    clips = {
        "start.wav": chime,
        "select.wav": tone(0.08, constant(1760.0), 0.018, attack=0.002),
        "click.wav": tone(0.09, glide(1100.0, 700.0, 0.03), 0.012, attack=0.001, harmonic=0.3),
        "change.wav": tone(0.10, glide(700.0, 1500.0, 0.09), 0.06, attack=0.010),
        "exit.wav": tone(0.12, glide(1200.0, 600.0, 0.11), 0.07, attack=0.008),
    }
    for name, samples in clips.items():
        write(folder / name, samples)


if __name__ == "__main__":
    main()
