#!/usr/bin/env python3
"""Independent transcription of the star-system generator's recipe, written
from the generator's description (not from the C++ code), used to derive the
expected values pinned in GeneratorDrawOrderTest.cpp.

    python3 reference_generator.py

prints the lines pasted into that test.  Only single stars, their planets,
planet systems, moons, rings, atmospheres, rotation, orbits and populations
are covered; multiple systems are checked by properties instead.
"""
import math
from decimal import Decimal, ROUND_HALF_UP
from fractions import Fraction

M32 = 0xFFFFFFFF
AU = 149597890.0


def step(s):
    return (s * 134775813 + 1) & M32


class Shared:
    seed = 0


def shared_int(n):
    Shared.seed = step(Shared.seed)
    return (Shared.seed * n) >> 32


def shared_float():
    Shared.seed = step(Shared.seed)
    return Shared.seed / 4294967296.0


def wminrange(lo, hi, count):
    m = shared_float()
    for _ in range(count):
        r = shared_float()
        if r < m:
            m = r
    return lo + (hi - lo) * m


def round_even(x):
    return float(round(x))


def round_dec(n, x):
    """Half to even on the exact product x * 10^n; the result is the double
    nearest to the rounded decimal."""
    if not math.isfinite(x):
        return x
    q = round(Fraction(x) * Fraction(10) ** n)  # Fraction rounds half to even
    return math.copysign(float(q / Fraction(10) ** n), x) if q == 0 else float(q / Fraction(10) ** n)


def fmt(pattern_decimals, x, min_int_digits=1):
    """Number pattern with '0' integer digits and '#' decimals, half away from zero."""
    d = Decimal(repr(x))
    q = Decimal(1).scaleb(-pattern_decimals)
    v = d.quantize(q, rounding=ROUND_HALF_UP)
    s = format(v, 'f')
    if '.' in s:
        s = s.rstrip('0').rstrip('.')
    ip = s.split('.')[0].lstrip('-')
    if len(ip) < min_int_digits:
        s = s.replace(ip, ip.zfill(min_int_digits), 1)
    return s


ORBITS = [0, 0.125, 0.162, 0.211, 0.274, 0.357, 0.464, 0.603, 0.784, 1.019, 1.325, 1.723, 2.24, 2.912,
          3.785, 4.921, 6.398, 8.317, 10.81, 14.05, 18.27, 23.75, 30.88, 40.14, 52.19, 67.85, 88.2, 114.66]

GASES = [("H2", 2, 0.01), ("He", 4, -1), ("CH4", 16, 0.01), ("NH3", 17, 0.01), ("H2O", 18, 0.2),
         ("Ne", 20, -1), ("N2", 28, 3), ("CO", 28, 0.01), ("NO", 30, 0.01), ("O2", 32, 0.5),
         ("H2S", 34, 0.01), ("Ar", 40, 1.5), ("CO2", 44, 0.01), ("NO2", 46, 0.01), ("O3", 48, 0.01),
         ("SO2", 64, 0.01), ("Kr", 84, 0.4), ("Xe", 131, 0.2), ("C2H6", 30, 0.01), ("HCN", 27, 0.0001),
         ("PH3", 34, 0.01), ("HCl", 36, 0.01)]


def equilibrium_temp(lum, dist_m, albedo):
    if lum <= 0:
        return 0.0
    d = dist_m * dist_m * 50.26548245743669 * 5.3865e-8
    if d <= 0:
        return 0.0
    return ((1 - albedo) * lum * 3.86e26 / d) ** 0.25


def mass_rel_earth(r, rho):
    return (r / 6378.14) ** 3 * rho


def gas_retained(mw, mass, radius, temp):
    vrms = math.sqrt(4.143e-23 * temp / (1.67e-27 * mw))
    vesc = math.sqrt(1.3346e-10 * mass * 5.977e24 / (radius * 1000))
    return 10 * vrms <= vesc


def roche(rp, dp, ds, a):
    e = rp * dp * 2.423 / ds
    return 0.0 if e == 0 else a / e


class Body:
    def __init__(self, parent=None, draw=True):
        if draw:
            self.seed_draw = shared_int(1000000000)  # every new body draws its texture seed
        self.parent = parent
        self.children = []
        self.type = 0
        self.name = ""
        self.spectral = ""
        for f in ("distance radius density mass rotation luminosity albedo temp atmosphere water population "
                  "ecc incl peri node toff tilt px py pz x y z").split():
            setattr(self, f, 0.0)
        self.notes = ""
        self.hab = 0
        self.retro = False
        self.atm = []

    def parent_star(self):
        p = self.parent
        while p is not None:
            if p.type == 1:
                return p
            p = p.parent
        return None

    def parent_body(self):
        if self.parent is not None and self.parent.type == 105:
            return self.parent.parent
        return self.parent

    def dist_to_star(self):
        if self.parent is None:
            return 0.0
        b = self
        while b.parent is not None:
            if b.parent.type == 1:
                return b.distance
            b = b.parent
        return -1.0

    def year_length(self):
        p = self.parent
        if p is None:
            return 0.0
        if p.type in (1, 3, 6, 8, 9, 10, 11, 105):
            ref = p if p.type != 105 else self.parent_star()
            if ref is None or ref.mass == 0:
                return 0.0
            return math.sqrt((self.distance / AU) ** 3 / ref.mass) * 365
        a = self.distance + (p.radius if p.type in (100, 101, 103) else 0)
        if p.mass == 0:
            return 0.0
        return math.sqrt((a / 384800) ** 3 / p.mass) * 27.32

    def hill(self):
        if not self.distance >= 1:
            return 0.0
        star = self.parent_star()
        if star is None or star.mass == 0:
            return 0.0
        m = self.mass * 5.977e24
        big = star.mass * 1.989e30
        if m < 1 or big < 1:
            return 0.0
        return self.distance * (m / (3 * big)) ** (1 / 3)

    def gravity(self):
        return self.radius / 6378.14 * self.density

    def temp_at(self, d, albedo):
        return equilibrium_temp(self.luminosity, d * 1000, albedo)


class Gen:
    def __init__(self, seed):
        self.seed = seed & M32
        self.stars_only = False
        self.with_pop = True
        self.terra_chance = 20
        self.earthlike = 0
        self.planet_picks = [(100, 160), (101, 120), (105, 20), (102, 60), (103, 30), (4, 10)]

    def nr(self, n):
        self.seed = step(self.seed)
        return (self.seed * n) >> 32

    def wmin(self, n, count):
        r = self.nr(n)
        for _ in range(count - 1):
            r = min(r, self.nr(n))
        return r

    def pick_planet(self):
        total = sum(w for _, w in self.planet_picks)
        r = self.nr(total)
        lo = 0
        for t, w in self.planet_picks:
            if lo <= r < lo + w:
                return t
            lo += w
        return 0

    def star_rotation(self, b):
        if b.mass <= 0:
            b.rotation = 0.0
            return
        n = self.nr(30) + 5
        rot = n * b.mass if b.mass >= 1.5 else n * (1 / b.mass)
        b.rotation = round_dec(2, rot * 24)
        if self.nr(100) <= 50:
            b.rotation = -b.rotation

    def star_info(self, b):
        cls = self.wmin(8, 5)
        rows = [("M", 0.08, 0.5), ("K", 0.5, 0.8), ("G", 0.8, 1.05), ("F", 1.05, 2), ("A", 2, 4),
                ("B", 4, 20), ("O", 20, 100)]
        if cls == 7:
            cls = 0
        letter, lo, hi = rows[cls]
        if cls == 0:
            b.spectral = "MV"
        else:
            b.spectral = letter + str(9 - self.wmin(9, 2)) + "V"
        b.mass = wminrange(lo, hi, 2)
        self.star_rotation(b)
        if cls == 0 and self.nr(5) == 0:
            b.mass = wminrange(0.01, 0.06, 2)
            b.spectral = "L"
        b.luminosity = b.mass ** 3.5
        b.radius = b.mass ** 0.8
        L = b.luminosity
        if L >= 10:
            L = float(math.trunc(L))
        elif L >= 1:
            L = math.trunc(L * 10) / 10
        elif L >= 0.1:
            L = math.trunc(L * 1000) / 1000
        b.luminosity = L
        b.px = (self.nr(1800) - 900) / 10
        b.py = (self.nr(1800) - 900) / 10
        b.pz = (self.nr(1800) - 900) / 10
        if not self.stars_only:
            self.planets(b)

    def planets(self, star):
        P = 0.4
        if star.mass < 0.4:
            P = star.mass
        if "O" in star.spectral:
            P = 0.05
        if "B" in star.spectral:
            P = 0.1
        if "A" in star.spectral:
            P = 0.2
        s = 1
        while s <= 25:
            if shared_float() >= P:
                s += 1
                continue
            p = Body(star)
            p.type = self.pick_planet()
            if self.earthlike >= 1 and shared_int(100) < self.earthlike:
                d = ORBITS[s] * AU * star.mass
                t = star.temp_at(d, 0.37)
                if 223 < t < 333:
                    p.distance = d
                    self.place_earthlike(p)
                    p.distance, p.radius, p.temp = map(lambda v: float(math.trunc(v)), (p.distance, p.radius, p.temp))
                    self.orbital(p, s)
                    star.children.append(p)
                    s += 1
                    continue
            if p.type == 101:
                p.albedo = (self.nr(20) + 60) / 100
                p.distance = (ORBITS[s] + ORBITS[s + 1]) / 2 * AU * star.mass
                s += 1
            else:
                p.distance = ORBITS[s] * AU * star.mass
                p.albedo = (self.nr(50) + 15) / 100
            p.temp = star.temp_at(p.distance, p.albedo)
            if p.type == 101:
                p.radius = wminrange(10000, 150000, 3)
                p.density = (self.nr(26) + 10) / 100
                p.mass = mass_rel_earth(p.radius, p.density)
                self.rotation(p)
                if not gas_retained(1, p.mass, p.radius, p.temp):
                    p.type = 100
                    p.radius = wminrange(1000, 15000, 2)
                    p.density = (self.nr(10) + 4) / 10
                    p.mass = mass_rel_earth(p.radius, p.density)
                    self.rotation(p)
                    self.atmosphere(p)
                self.moons(p)
            elif p.type == 102:
                p.radius = round_even(shared_float() * (ORBITS[s + 1] - ORBITS[s - 1]) * AU * star.mass)
            elif p.type == 103:
                p.radius = wminrange(100, 1000, 2)
                p.density = (self.nr(12) + 3) / 10
                p.mass = mass_rel_earth(p.radius, p.density)
                self.moons(p)
            elif p.type == 105:
                self.planet_system(p)
            elif p.type == 100:
                p.radius = wminrange(1000, 15000, 2)
                p.density = (self.nr(10) + 4) / 10
                p.mass = mass_rel_earth(p.radius, p.density)
                self.moons(p)
                self.rotation(p)
                self.atmosphere(p)
            p.distance, p.radius, p.temp = map(lambda v: float(math.trunc(v)), (p.distance, p.radius, p.temp))
            self.orbital(p, s)
            star.children.append(p)
            s += 1

    def planet_system(self, ps):
        sun = ps.parent

        def fill(p):
            p.type = 100
            p.distance = ps.distance
            p.density = (self.nr(10) + 4) / 10
            p.mass = mass_rel_earth(p.radius, p.density)
            p.albedo = (self.nr(50) + 15) / 100
            p.temp = sun.temp_at(ps.distance, p.albedo)
            self.rotation(p)
            self.atmosphere(p)
            self.moons(p)

        first = Body(ps)
        first.radius = wminrange(1000, 15000, 2)
        first.name = ps.name
        fill(first)
        ps.children.append(first)
        prev = first.radius
        for _ in range(self.wmin(2, 5) + 1):
            p = Body(ps)
            p.radius = (self.nr(50) + 50) / 100 * prev
            fill(p)
            prev = p.radius
            ps.children.append(p)
        zr = self.seed

        def nf(scale):
            nonlocal zr
            zr = step(zr)
            return ((zr * 2147483647) >> 32) / 2147483647 * scale

        for p in ps.children:
            p.x = (-250 + nf(500)) * 1000
            p.y = (-250 + nf(500)) * 1000
            p.z = (-250 + nf(500)) * 1000
        self.seed = zr
        n = len(ps.children)
        mx = sum(p.x for p in ps.children) / n
        my = sum(p.y for p in ps.children) / n
        mz = sum(p.z for p in ps.children) / n
        for p in ps.children:
            p.x, p.y, p.z = round_even(p.x - mx), round_even(p.y - my), round_even(p.z - mz)

    def moons(self, planet):
        R = planet.radius
        h = planet.hill()
        b = R
        if planet.type == 101 and R > 10000:
            b = 16000
        q = math.sqrt(planet.mass) / 26
        for i in range(2, 27):
            if h > 0 and R + R * ORBITS[i] * 2 > h:
                continue
            if shared_float() >= q:
                continue
            m = Body(planet)
            m.type = 100
            m.density = (self.nr(14) + 1) / 10
            m.distance = round_even(R + R * ORBITS[i] * 2)
            m.albedo = (self.nr(50) + 15) / 100
            if roche(R, planet.density, m.density, m.distance) >= 1:
                m.radius = round_even(wminrange(100, b / 2, 3))
                m.mass = mass_rel_earth(m.radius, m.density)
                m.temp = planet.temp
                d = m.dist_to_star()
                if d > -1:
                    m.temp = round_even(m.parent_star().temp_at(d, m.albedo))
                self.atmosphere(m)
                self.rotation(m)
                self.orbital(m, i)
            else:
                m.type = 104
                m.name = "Ring"
                m.radius = round_even(self.nr(20) / 100 * R)
            planet.children.append(m)
        e = min(max(float(math.trunc(max(R / 6378.14, 0.5) * 20)), 40.0), 90.0)
        if self.nr(100) < e:
            sb = Body(planet)
            sb.type = 106
            sb.name = "Smaller Bodies"
            sb.radius = (self.nr(80) + 20) / 100 * 50
            sb.temp = round_even(planet.temp)
            planet.children.append(sb)

    def rotation(self, body):
        b = float(self.nr(40) + 5)
        par = body.parent_body()
        if par is None:
            body.rotation = b
            return
        pr, pd = par.radius, par.density
        if par.type == 1:
            pr, pd = par.radius * 695500, 1.5
        f = roche(pr, pd, body.density, body.distance)
        for i in range(50, 0, -1):
            if i > f:
                b = b * 1.1
        if not body.year_length() * 24 > b:
            b = 0.0
        body.rotation = round_dec(4, b)
        if body.type != 101 and self.nr(100) < 10:
            body.rotation = -body.rotation

    def orbital(self, body, slot):
        body.retro = self.nr(20) == 1
        body.ecc = round_dec(4, wminrange(0, slot / 26, 3))
        body.incl = round_dec(4, wminrange(0, slot / 26 * 60, 4))
        body.peri = round_dec(4, wminrange(0, 360, 1))
        body.node = round_dec(4, wminrange(0, 360, 1))
        body.toff = float(math.trunc(shared_float() * body.year_length()))
        body.tilt = round_dec(4, wminrange(0, 90, 3))

    def terraform_candidate(self, b):
        g = b.gravity()
        return 0.35 <= g <= 1.3 and 173 <= b.temp <= 333 and b.rotation != 0 and b.rotation <= 200

    def atmosphere(self, b):
        p0 = self.wmin(10000, 7) * b.mass / 100
        a = [0.0] * 22
        a[0] = (self.nr(50) + 50) * 1000
        a[1] = self.nr(50) * 250 + 12500
        a[2] = self.nr(1000)
        a[3] = self.nr(500)
        a[4] = self.nr(1000) * 5
        a[5] = self.nr(100)
        a[6] = self.nr(1000) * 15
        a[7] = self.nr(1000)
        a[8] = self.nr(500)
        a[9] = self.nr(100) * 100
        a[10] = self.nr(500)
        a[11] = self.nr(1000)
        a[12] = self.nr(1000) * 10
        a[13] = self.nr(500)
        a[14] = self.nr(500)
        a[15] = self.nr(1000)
        a[16] = self.nr(500)
        a[17] = self.nr(400)
        a = [float(v) for v in a]
        t0 = sum(a)
        for i, (_, mw, _) in enumerate(GASES):
            if not gas_retained(mw, b.mass, b.radius, b.temp):
                a[i] = 0.0
        H2, CH4, H2O, O2, CO2 = 0, 2, 4, 9, 12
        if a[H2] > a[O2]:
            a[H2O] += a[O2]; a[H2] -= a[O2]; a[O2] = 0.0
        elif a[O2] > a[H2]:
            a[H2O] += a[H2]; a[O2] -= a[H2]; a[H2] = 0.0
        x = min(a[CH4], a[O2])
        a[CH4] -= x; a[O2] -= x; a[H2O] += x; a[CO2] += x
        if 238 < b.temp < 373:
            a[CO2] = max(a[CO2] - 10 * a[H2O], 0.0)
        b.water = 0.0
        if b.temp < 353 and a[H2O] > 0:
            b.water = min(a[H2O] / 10000, 1.0)
            a[H2O] = a[H2O] / 100
        if self.with_pop and self.terraform_candidate(b) and self.nr(100) < self.terra_chance:
            for i in (0, 2, 3, 7, 8, 10, 12, 13, 14, 15):
                a[i] = 0.0
        t1 = sum(a)
        p = t1 / t0 * p0
        b.atmosphere = round_dec(4, p)
        b.atm = []
        if p > 0.05:
            notes = fmt(2, p) + " atm ("
            lines = []
            for i, (name, _, _) in enumerate(GASES):
                share = a[i] / t1
                if share > 0.01:
                    lines.append(fmt(0, share * 100, 3) + " " + name)
            lines.sort(key=lambda t: t.lower())
            listed = []
            for line in reversed(lines):
                if len(listed) >= 4:
                    break
                v = int(line[:3])
                if v < 2:
                    break
                name = line[4:]
                listed.append(name + " " + str(v) + "%")
                b.atm.append((name.upper(), v))
            b.notes = notes + ",".join(listed) + ")"
        else:
            b.notes = "None"
        if t1 > 0:
            g = (a[H2O] * 10 + a[CO2] + a[CH4] * 5) / t1 * p
            b.temp = b.temp * (1 + math.sqrt(g * 10) / 20)
        b.temp = round_even(b.temp)
        b.hab = 0
        g = b.gravity()
        if 0.3 < g < 1.5 and 193 < b.temp < 333 and 0.01 < b.atmosphere < 20:
            b.hab = 2
            for i, (_, _, lim) in enumerate(GASES):
                if lim > 0 and a[i] / t1 * b.atmosphere > lim:
                    b.hab = 1
            if a[O2] / t1 * b.atmosphere < 0.1 or g > 1.3:
                b.hab = 1

    def place_earthlike(self, b):
        raise NotImplementedError("earthlike placement is not used by the pinned cases")

    def populations(self, root):
        def maxhab(b):
            return max([b.hab] + [maxhab(c) for c in b.children])
        m = maxhab(root)
        base = -2 if m == 0 else (2 if m == 2 else 0)

        def walk(b):
            b.population = 0.0
            if b.type in (100, 102, 103):
                e = base + {0: -5, 1: -2, 2: 1}.get(b.hab, 0)
                if b.type != 100:
                    e -= 1
                if b.temp > 373:
                    e -= 1
                if b.temp > 473:
                    e -= 1
                r1 = self.nr(10)
                r2 = self.nr(10)
                e += (r1 + r2) // 2 - 2
                if e > 1:
                    n = 10.0 ** e * self.nr(1000) / 100
                    b.population = 0.0 if n < 10 else float(math.trunc(n))
            elif b.type == 4:
                e = self.wmin(7, 2) - 1
                n = 10.0 ** e * self.nr(1000) / 100
                b.population = 0.0 if n < 1 else float(math.trunc(n))
            for c in b.children:
                walk(c)
        walk(root)


def g17(x):
    return "%.17g" % x


def dump(b, depth, out):
    out.append("%d|%d|%s|%s|%s|%s|%s|%s|%s|%s|%s|%s|%d|%s|%s" % (
        depth, b.type, b.name, g17(b.distance), g17(b.radius), g17(b.mass), g17(b.temp), g17(b.rotation),
        g17(b.ecc), g17(b.toff), g17(b.atmosphere), b.notes, b.hab, g17(b.population), g17(b.x)))
    for c in b.children:
        dump(c, depth + 1, out)


def single_star(shared_seed, gen_seed):
    Shared.seed = shared_seed & M32
    g = Gen(gen_seed)
    g.stars_only = True
    b = Body()
    b.type = 1
    g.star_info(b)
    return b


def atmosphere_case(gen_seed, mass, radius, temp):
    g = Gen(gen_seed)
    g.with_pop = False
    b = Body(draw=False)
    b.mass, b.radius, b.temp, b.density = mass, radius, temp, mass / (radius / 6378.14) ** 3
    b.type = 100
    g.atmosphere(b)
    return b


def full_system(shared_seed, gen_seed):
    Shared.seed = shared_seed & M32
    g = Gen(gen_seed)
    b = Body()
    b.type = 1
    g.star_info(b)
    g.populations(b)
    return b


if __name__ == "__main__":
    print("# single stars (shared seed, generator seed): spectral, mass, rotation, luminosity, radius, planes")
    for ss, gs in ((1234, 5678), (99, 31337), (2024, 7), (5, 424242)):
        b = single_star(ss, gs)
        print(ss, gs, b.spectral, g17(b.mass), g17(b.rotation), g17(b.luminosity), g17(b.radius),
              g17(b.px), g17(b.py), g17(b.pz))
    print("# atmospheres (generator seed, mass, radius, temp): notes, atmosphere, temp, water, hab, components")
    for gs, m, r, t in ((11, 1.0, 6378.14, 288.0), (4242, 0.5, 5000.0, 250.0), (77, 2.0, 8000.0, 300.0)):
        b = atmosphere_case(gs, m, r, t)
        print(gs, m, r, t, repr(b.notes), g17(b.atmosphere), g17(b.temp), g17(b.water), b.hab, b.atm)
    print("# full single-star systems")
    for ss, gs in ((1, 2), (314159, 271828), (7, 10)):
        out = []
        dump(full_system(ss, gs), 0, out)
        print(ss, gs, len(out))
        for line in out:
            print('    "%s",' % line)
