"""A word-like sound for the tests, as sinama/sentetik.h makes it: after `bas`
seconds of faint noise, `sure` seconds of a gliding two-tone vowel (f0 rising
by 300 Hz, about 4.3 f0 falling by 900 Hz) under a sine swell of 9000, the
whole `toplam` seconds under uniform noise of +-80 seeded `tohum`."""

import math
from array import array


def sozcuk(bas, sure, toplam, f0, tohum, oo=12000):
    x = array("h", bytes(2 * int(toplam * oo)))
    faz1 = faz2 = 0.0
    for i in range(len(x)):
        tohum = (tohum * 1103515245 + 12345) & 0xFFFFFFFF
        v = float((tohum >> 8) % 161 - 80)
        t = (i / oo - bas) / sure
        if 0 <= t < 1:
            faz1 += 2 * math.pi * (f0 + 300 * t) / oo
            faz2 += 2 * math.pi * (f0 * 4.3 - 900 * t) / oo
            v += 9000 * math.sin(math.pi * t) * (math.sin(faz1) + 0.5 * math.sin(faz2))
        x[i] = int(math.floor(v + 0.5))
    return x


def alim(sure, f0, tohum, oo=12000):
    """One take: the word between 0.4 s of noise on each side."""
    return sozcuk(0.4, sure, 0.4 + sure + 0.4, f0, tohum, oo)


# Two words to teach: (word, length in seconds, f0).
SOZCUKLER = [("evet", 0.5, 150), ("hayır", 0.4, 320)]


def egitim_alimlari(sure, f0, tohum):
    """Two training takes of a word, the second a little longer and lower."""
    return [alim(sure, f0, tohum), alim(sure * 1.1, f0 * 0.97, tohum + 1)]
