#!/usr/bin/env python3
"""Reference values for the noise tests, computed straight from the recipe of
the two generators in plain Python (IEEE doubles, round half to even), without
looking at the C++ code.  Run once; the printed numbers are pasted into
NoiseTest.cpp.  Usage: python3 noise_reference.py"""
import math

M32 = 0xFFFFFFFF


class Lcg:
    def __init__(self, seed):
        self.state = seed & M32

    def random(self, n):
        self.state = (self.state * 134775813 + 1) & M32
        return (self.state * n) >> 32


def perlin_tables(seed):
    r = Lcg(seed)
    p = [0] * 514
    g1 = [0.0] * 514
    g2 = [[0.0, 0.0] for _ in range(514)]
    g3 = [[0.0, 0.0, 0.0] for _ in range(514)]
    draw = lambda: ((r.random(100000) % 512) - 256) / 256
    for i in range(256):
        p[i] = i
        g1[i] = draw()
        g2[i] = [draw(), draw()]
        ln = math.sqrt(g2[i][0] * g2[i][0] + g2[i][1] * g2[i][1])
        if ln != 0:
            g2[i] = [g2[i][0] / ln, g2[i][1] / ln]
        g3[i] = [draw(), draw(), draw()]
        ln = math.sqrt(g3[i][0] * g3[i][0] + g3[i][1] * g3[i][1] + g3[i][2] * g3[i][2])
        if ln != 0:
            g3[i] = [g3[i][0] / ln, g3[i][1] / ln, g3[i][2] / ln]
    for i in range(255, 0, -1):
        j = r.random(100000) % 256
        p[i], p[j] = p[j], p[i]
    for i in range(258):
        p[256 + i] = p[i]
        g1[256 + i] = g1[i]
        g2[256 + i] = list(g2[i])
        g3[256 + i] = list(g3[i])
    cos_table = [(1 - math.cos(math.pi * i / 100)) / 2 for i in range(101)]
    return p, g1, g2, g3, cos_table


def perlin_noise3(tables, x, y, z):
    p, g1, g2, g3, ct = tables

    def axis(c):
        t = c + 4096
        b0 = math.trunc(t) & 255
        b1 = (b0 + 1) & 255
        r0 = t - math.trunc(t)
        return b0, b1, r0, r0 - 1

    def s(t):
        return t * t * (3 - 2 * t)

    def lerp(t, a, b):
        t = min(max(t, 0.0), 1.0)
        w = ct[round(100 * t)]
        return (1 - w) * a + w * b

    def at(q, rx, ry, rz):
        return rx * q[0] + ry * q[1] + rz * q[2]

    bx0, bx1, rx0, rx1 = axis(x)
    by0, by1, ry0, ry1 = axis(y)
    bz0, bz1, rz0, rz1 = axis(z)
    i, j = p[bx0], p[bx1]
    b00, b10, b01, b11 = p[i + by0], p[j + by0], p[i + by1], p[j + by1]
    sx, sy, sz = s(rx0), s(ry0), s(rz0)
    a = lerp(sx, at(g3[b00 + bz0], rx0, ry0, rz0), at(g3[b10 + bz0], rx1, ry0, rz0))
    b = lerp(sx, at(g3[b01 + bz0], rx0, ry1, rz0), at(g3[b11 + bz0], rx1, ry1, rz0))
    c = lerp(sy, a, b)
    a = lerp(sx, at(g3[b00 + bz1], rx0, ry0, rz1), at(g3[b10 + bz1], rx1, ry0, rz1))
    b = lerp(sx, at(g3[b01 + bz1], rx0, ry1, rz1), at(g3[b11 + bz1], rx1, ry1, rz1))
    d = lerp(sy, a, b)
    return lerp(sz, c, d)


def fractal(noise, x, y, z, base, octaves, persistence):
    total, f = 0.0, base
    for k in range(octaves):
        total += noise(x * f, y * f, z * f) * persistence ** k
        f *= 2
    return total


GRAD = [(1, 1, 0), (-1, 1, 0), (1, -1, 0), (-1, -1, 0), (1, 0, 1), (-1, 0, 1),
        (1, 0, -1), (-1, 0, -1), (0, 1, 1), (0, -1, 1), (0, 1, -1), (0, -1, -1)]


def simplex_perm(seed):
    r = Lcg(seed)
    perm = [0] * 511
    for i in range(256):
        v = r.random(255)
        perm[i] = v
        perm[i + 255] = v
    return perm


def simplex_noise3(perm, x, y, z):
    F3, G3 = 1 / 3, 1 / 6
    s = (x + y + z) * F3
    i, j, k = math.trunc(x + s), math.trunc(y + s), math.trunc(z + s)
    t = (i + j + k) * G3
    x0, y0, z0 = x - (i - t), y - (j - t), z - (k - t)
    if x0 >= y0:
        if y0 >= z0:
            o1, o2 = (1, 0, 0), (1, 1, 0)
        elif x0 >= z0:
            o1, o2 = (1, 0, 0), (1, 0, 1)
        else:
            o1, o2 = (0, 0, 1), (1, 0, 1)
    else:
        if y0 < z0:
            o1, o2 = (0, 0, 1), (0, 1, 1)
        elif x0 < z0:
            o1, o2 = (0, 1, 0), (0, 1, 1)
        else:
            o1, o2 = (0, 1, 0), (1, 1, 0)
    corners = [(x0, y0, z0),
               (x0 - o1[0] + G3, y0 - o1[1] + G3, z0 - o1[2] + G3),
               (x0 - o2[0] + 2 * G3, y0 - o2[1] + 2 * G3, z0 - o2[2] + 2 * G3),
               (x0 - 1 + 3 * G3, y0 - 1 + 3 * G3, z0 - 1 + 3 * G3)]
    ii, jj, kk = i & 255, j & 255, k & 255
    offs = [(0, 0, 0), o1, o2, (1, 1, 1)]
    total = 0.0
    for (cx, cy, cz), (a, b, c) in zip(corners, offs):
        gi = perm[ii + a + perm[jj + b + perm[kk + c]]] % 12
        tn = 0.6 - cx * cx - cy * cy - cz * cz
        if tn >= 0:
            g = GRAD[gi]
            tn = tn * tn
            total += tn * tn * (g[0] * cx + g[1] * cy + g[2] * cz)
    return 32 * total


if __name__ == "__main__":
    pt = perlin_tables(12345)
    p, g1, g2, g3, ct = pt
    print("perlin seed 12345")
    print(" p[0..7]", p[:8], "p[255]", p[255], "p[256]", p[256], "p[512]", p[512], "p[513]", p[513])
    print(" g1[0]", repr(g1[0]), "g2[0]", [repr(v) for v in g2[0]])
    print(" g3[0]", [repr(v) for v in g3[0]], "g3[513]", [repr(v) for v in g3[513]])
    print(" cos[50]", repr(ct[50]), "cos[1]", repr(ct[1]))
    for pt3 in [(0.5, 0.5, 0.5), (1.3, -2.7, 5.1), (-4100.2, 3.3, 0.9), (123.456, 78.9, 0.001)]:
        print(" noise3", pt3, repr(perlin_noise3(pt, *pt3)))
    print(" fractal (0.3,0.7,1.1) 8 oct", repr(fractal(lambda a, b, c: perlin_noise3(pt, a, b, c), 0.3, 0.7, 1.1, 1.0, 8, 0.75)))
    print(" fractal (150,40,-20) base 1/150 4 oct", repr(fractal(lambda a, b, c: perlin_noise3(pt, a, b, c), 150.0, 40.0, -20.0, 1 / 150, 4, 0.75)))
    pn = perlin_tables(-7)
    print("perlin seed -7 p[0..3]", pn[0][:4], "g3[5]", [repr(v) for v in pn[3][5]])

    perm = simplex_perm(12345)
    print("simplex seed 12345")
    print(" perm[0..7]", perm[:8], "perm[254]", perm[254], "perm[255]", perm[255], "perm[256]", perm[256], "perm[510]", perm[510])
    for pt3 in [(0.25, 0.5, 0.75), (1.3, -2.7, 5.1), (-0.4, -1.9, -3.2), (100.5, 120.25, 80.125)]:
        print(" noise3", pt3, repr(simplex_noise3(perm, *pt3)))
    print(" fractal (100.5,120.25,80.125) 1/128 8 oct", repr(fractal(lambda a, b, c: simplex_noise3(perm, a, b, c), 100.5, 120.25, 80.125, 1 / 128, 8, 0.7)))
    print(" fractal (30,150,190) 0.005 12 oct", repr(fractal(lambda a, b, c: simplex_noise3(perm, a, b, c), 30.0, 150.0, 190.0, 0.005, 12, 0.7)))
    permn = simplex_perm(-7)
    print("simplex seed -7 perm[0..3]", permn[:4])
