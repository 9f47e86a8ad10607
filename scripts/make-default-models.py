#!/usr/bin/env python3
"""Writes the default 3D models in data/Models/: a ring station, a ship and a
fleet marker, each a few convex pieces with flat normals and simple
materials, as Wavefront OBJ with its MTL file.  Faces wind counter-clockwise
seen from outside, since model faces are culled from behind.

Usage: scripts/make-default-models.py [DATA_DIR]
"""
import math
import os
import sys


def box(cx, cy, cz, sx, sy, sz):
    hx, hy, hz = sx / 2, sy / 2, sz / 2
    v = [(cx + x * hx, cy + y * hy, cz + z * hz) for x in (-1, 1) for y in (-1, 1) for z in (-1, 1)]
    faces = [(0, 1, 3, 2), (4, 6, 7, 5), (0, 4, 5, 1), (2, 3, 7, 6), (0, 2, 6, 4), (1, 5, 7, 3)]
    return v, faces


def prism(points2d, z0, z1, scale1=1.0):
    """A prism along z over a convex outline; the far cap scaled by scale1."""
    n = len(points2d)
    v = [(x, y, z0) for x, y in points2d] + [(x * scale1, y * scale1, z1) for x, y in points2d]
    faces = [tuple(range(n)), tuple(range(n, 2 * n))]
    faces += [(i, (i + 1) % n, n + (i + 1) % n, n + i) for i in range(n)]
    return v, faces


def pyramid(points2d, z0, apex):
    n = len(points2d)
    v = [(x, y, z0) for x, y in points2d] + [apex]
    faces = [tuple(range(n))] + [(i, (i + 1) % n, n) for i in range(n)]
    return v, faces


def moved(piece, dx, dy, dz, turn=0.0):
    v, f = piece
    c, s = math.cos(turn), math.sin(turn)
    return [(x * c - y * s + dx, x * s + y * c + dy, z + dz) for x, y, z in v], f


def ring_segment(r0, r1, a0, a1, h):
    pts = [(r0 * math.cos(a0), r0 * math.sin(a0)), (r1 * math.cos(a0), r1 * math.sin(a0)),
           (r1 * math.cos(a1), r1 * math.sin(a1)), (r0 * math.cos(a1), r0 * math.sin(a1))]
    return prism(pts, -h / 2, h / 2)


def polygon(n, r, turn=0.0):
    return [(r * math.cos(turn + 2 * math.pi * i / n), r * math.sin(turn + 2 * math.pi * i / n)) for i in range(n)]


def sub(a, b):
    return (a[0] - b[0], a[1] - b[1], a[2] - b[2])


def cross(a, b):
    return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])


def dot(a, b):
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]


def write(folder, name, title, pieces, materials):
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name + ".mtl"), "w") as m:
        m.write("# %s: materials\n" % title)
        for mat, (kd, ka, ke) in materials.items():
            m.write("\nnewmtl %s\nKa %.3f %.3f %.3f\nKd %.3f %.3f %.3f\nKs 0 0 0\nKe %.3f %.3f %.3f\nillum 1\n"
                    % ((mat,) + ka + kd + ke))
    lines = ["# %s" % title, "mtllib %s.mtl" % name]
    vbase, nbase = 1, 1
    for mat, (verts, faces) in pieces:
        lines.append("usemtl %s" % mat)
        centre = tuple(sum(p[i] for p in verts) / len(verts) for i in range(3))
        for p in verts:
            lines.append("v %.4f %.4f %.4f" % p)
        normals = []
        out_faces = []
        for face in faces:
            a, b, c = (verts[i] for i in face[:3])
            nrm = cross(sub(b, a), sub(c, a))
            fc = tuple(sum(verts[i][k] for i in face) / len(face) for k in range(3))
            if dot(nrm, sub(fc, centre)) < 0:
                face = tuple(reversed(face))
                nrm = (-nrm[0], -nrm[1], -nrm[2])
            length = math.sqrt(dot(nrm, nrm)) or 1.0
            normals.append(tuple(x / length for x in nrm))
            out_faces.append(face)
        for n in normals:
            lines.append("vn %.4f %.4f %.4f" % n)
        for k, face in enumerate(out_faces):
            lines.append("f " + " ".join("%d//%d" % (vbase + i, nbase + k) for i in face))
        vbase += len(verts)
        nbase += len(normals)
    with open(os.path.join(folder, name + ".obj"), "w") as o:
        o.write("\n".join(lines) + "\n")


def station():
    pieces = [("hub", box(0, 0, 0, 1.2, 1.2, 2.4)), ("panel", box(0, 0, 1.6, 3.2, 0.06, 0.8))]
    segments = 12
    for i in range(segments):
        a0, a1 = 2 * math.pi * i / segments, 2 * math.pi * (i + 1) / segments
        pieces.append(("ring", ring_segment(3.0, 3.6, a0, a1, 0.6)))
    for i in range(4):
        pieces.append(("spoke", moved(box(1.8, 0, 0, 2.4, 0.2, 0.2), 0, 0, 0, math.pi / 2 * i)))
    materials = {"hub": ((0.75, 0.75, 0.78), (0.25, 0.25, 0.26), (0, 0, 0)),
                 "ring": ((0.55, 0.62, 0.72), (0.2, 0.22, 0.25), (0, 0, 0)),
                 "spoke": ((0.5, 0.5, 0.5), (0.2, 0.2, 0.2), (0, 0, 0)),
                 "panel": ((0.15, 0.25, 0.7), (0.05, 0.08, 0.25), (0.02, 0.04, 0.12))}
    return pieces, materials


def ship():
    hull = polygon(6, 0.5, math.pi / 6)
    pieces = [("hull", prism(hull, -2.0, 1.2, 0.8)),
              ("hull", pyramid([(x * 0.8, y * 0.8) for x, y in hull], 1.2, (0, 0, 2.4))),
              ("engine", prism(polygon(6, 0.35, math.pi / 6), -2.3, -2.0)),
              ("fin", box(0, 0.75, -1.3, 0.08, 0.9, 1.0)),
              ("fin", box(0.75, -0.2, -1.3, 0.9, 0.08, 1.0)),
              ("fin", box(-0.75, -0.2, -1.3, 0.9, 0.08, 1.0))]
    materials = {"hull": ((0.7, 0.7, 0.68), (0.25, 0.25, 0.24), (0, 0, 0)),
                 "fin": ((0.6, 0.2, 0.15), (0.2, 0.07, 0.05), (0, 0, 0)),
                 "engine": ((0.3, 0.6, 1.0), (0.1, 0.2, 0.3), (0.2, 0.45, 0.9))}
    return pieces, materials


def fleet():
    wedge = [(-0.5, -0.35), (0.5, -0.35), (0, 0.45)]
    pieces = []
    for dx, dz in ((0, 1.2), (-1.3, -0.6), (1.3, -0.6)):
        v, f = prism(wedge, -0.12, 0.12)
        # The wedge lies flat (x, z plane) with its point forward (+z).
        v = [(x + dx, z, y + dz) for x, y, z in v]
        pieces.append(("wedge", (v, f)))
    pieces.append(("beacon", box(0, 0.35, 0, 0.3, 0.3, 0.3)))
    materials = {"wedge": ((0.85, 0.7, 0.2), (0.3, 0.25, 0.07), (0.1, 0.08, 0.02)),
                 "beacon": ((0.2, 0.9, 0.3), (0.07, 0.3, 0.1), (0.1, 0.5, 0.15))}
    return pieces, materials


def main():
    data = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "data")
    for type_name, title, make in (("Space Station", "Kalvion default station", station),
                                   ("Ship", "Kalvion default ship", ship),
                                   ("Fleet", "Kalvion default fleet marker", fleet)):
        pieces, materials = make()
        write(os.path.join(data, "Models", type_name, "default.obj"), "default", title, pieces, materials)


if __name__ == "__main__":
    main()
