#!/usr/bin/env python3
"""Reference values for the colour tests, from Python's own colorsys and a
plain-Python model of the broadcast-safe checks written from their rules.

Writes one record a line:
  hsl r g b h l s            colorsys.rgb_to_hls of a colour (float32 values)
  rgb h l s r g b            colorsys.hls_to_rgb
  hot r g b yiq yuv pal      the three checks (0/1)
  fix r g b std r' g' b'     corrected colour of a hot one (std 0 YIQ, 1 NTSC YUV, 2 PAL)
"""
import colorsys
import random
import struct
import sys


def f32(x):
    return struct.unpack('<f', struct.pack('<f', x))[0]


# Columns blue, green, red; rows luma and the two chroma components.
RGB_TO_YIQ = ((0.114, 0.587, 0.299), (-0.321746, -0.274133, 0.595879), (0.311878, -0.523083, 0.211205))
YIQ_TO_RGB = ((1, -1.104744, 1.701157), (1, -0.272558, -0.646709), (1, 0.956295, 0.621025))
RGB_TO_YUV = ((0.114, 0.587, 0.299), (0.436798, -0.289391, -0.147407), (-0.099978, -0.514799, 0.614777))
YUV_TO_RGB = ((1, 2.028398, 0), (1, -0.393931, -0.580809), (1, 0, 1.140251))
STANDARDS = ((RGB_TO_YIQ, YIQ_TO_RGB, 1.2162163, True),
             (RGB_TO_YUV, YUV_TO_RGB, 1.2162163, True),
             (RGB_TO_YUV, YUV_TO_RGB, 1.2, False))


def encode(x):
    return 4.5 * x if x < 0.018 else 1.099 * x ** 0.45 - 0.099


def decode(x):
    return x / 4.5 if x < 0.081 else ((x + 0.099) / 1.099) ** (1 / 0.45)


def times(m, v):
    return [sum(m[i][j] * v[j] for j in range(3)) for i in range(3)]


def measure(std, r, g, b):
    y, c1, c2 = times(std[0], [encode(b), encode(g), encode(r)])
    return y, c1, c2, (std[2] - y) ** 2 < c1 * c1 + c2 * c2


def correct(std, r, g, b):
    y, c1, c2, hot = measure(std, r, g, b)
    chroma = (c1 * c1 + c2 * c2) ** 0.5
    if std[3]:
        f = (1.15 - (0.925 * y + 0.075)) / (0.925 * chroma)
    else:
        f = (1.15 - y) / chroma
    f = min(f, 1.0)
    blue, green, red = (min(1.0, max(0.0, decode(v))) for v in times(std[1], [y, c1 * f, c2 * f]))
    return red, green, blue


def main(path):
    rng = random.Random(24)
    out = []
    colours = [(0.5, 0.5, 0.5), (1.0, 1.0, 0.0), (0.0, 0.0, 0.0), (1.0, 1.0, 1.0), (1.0, 0.0, 0.0), (0.0, 0.0, 1.0)]
    colours += [(k / 255, (k * 7 % 256) / 255, (k * 13 % 256) / 255) for k in range(256)]
    colours += [tuple(f32(rng.random()) for _ in range(3)) for _ in range(2000)]
    # Saturated colours, where most of the hot ones are.
    for _ in range(600):
        c = [1.0, f32(rng.random()), f32(rng.random() * 0.2)]
        rng.shuffle(c)
        colours.append(tuple(c))
    for r, g, b in colours:
        r, g, b = f32(r), f32(g), f32(b)
        h, l, s = colorsys.rgb_to_hls(r, g, b)
        out.append('hsl %r %r %r %r %r %r' % (r, g, b, h, l, s))
        flags = [measure(std, r, g, b)[3] for std in STANDARDS]
        out.append('hot %r %r %r %d %d %d' % (r, g, b, *flags))
        for i, std in enumerate(STANDARDS):
            if flags[i]:
                out.append('fix %r %r %r %d %r %r %r' % (r, g, b, i, *correct(std, r, g, b)))
    for _ in range(2000):
        h, l, s = rng.random(), rng.random(), rng.random()
        out.append('rgb %r %r %r %r %r %r' % (h, l, s, *colorsys.hls_to_rgb(h, l, s)))
    with open(path, 'w') as f:
        f.write('\n'.join(out) + '\n')


if __name__ == '__main__':
    main(sys.argv[1])
