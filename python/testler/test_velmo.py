"""The velmo module against the C example on the same library (VELMO_ORNEK:
tests/kitaplik/ornek.c built): the same takes train the same files and are
recognised alike, every kind of buffer gives the same answer, and what the
library refuses is raised with its own message."""

import os
import shutil
import subprocess
import sys
import tempfile
import unittest
from array import array

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import sentetik  # noqa: E402
import velmo  # noqa: E402

try:
    import numpy
except ImportError:
    numpy = None

ORNEK = os.environ["VELMO_ORNEK"]
OO = 12000
TURLER = {"evet": 1, "hayır": 3}  # one word of each family of kinds


def setUpModule():
    global dizin, c_dizini, p_dizini
    dizin = tempfile.mkdtemp()
    os.environ["XDG_CONFIG_HOME"] = os.path.join(dizin, "ayar")  # no kept settings of the user
    c_dizini, p_dizini = os.path.join(dizin, "c"), os.path.join(dizin, "p")
    os.mkdir(c_dizini)
    os.mkdir(p_dizini)
    for i, (soz, sure, f0) in enumerate(sentetik.SOZCUKLER):
        x = sentetik.egitim_alimlari(sure, f0, 10 * i + 1)
        tur = TURLER[soz]
        ham = [ham_yaz(f"{soz}{k}", a) for k, a in enumerate(x)]
        c_calistir("egit", os.path.join(c_dizini, soz + ".vlm"), soz, str(OO), str(tur), *ham)
        velmo.egit(os.path.join(p_dizini, soz + ".vlm"), soz, x, oo=OO, tur=tur)


def tearDownModule():
    shutil.rmtree(dizin)


def ham_yaz(ad, x):
    yol = os.path.join(dizin, ad + ".raw")
    with open(yol, "wb") as f:
        f.write(bytes(x) if isinstance(x, (bytes, bytearray)) else x.tobytes())
    return yol


def c_calistir(*arg, beklenen=0):
    p = subprocess.run([ORNEK, *arg], capture_output=True, text=True, cwd=dizin)
    if beklenen is not None and p.returncode != beklenen:
        raise AssertionError(f"ornek {arg[0]}: çıkış {p.returncode}, {p.stderr}")
    return p


def c_tani(x, oo=OO):
    """ornek's answer to one take: (word, score text, file, kind), or its message."""
    satir = c_calistir("tani", c_dizini, str(oo), ham_yaz("tani", x), beklenen=None).stdout.rstrip("\n")
    alan = satir.split("\t")[1:]
    return alan[-1] if alan[0] == "" else (alan[0], alan[1], alan[2], int(alan[3]))


def p_tani(s):
    return (s.soz, f"{s.puan:f}", s.dosya, s.tur)


# New takes to recognise: (word, samples, rate); the first one also at 16 kHz.
def tanima_alimlari():
    a = []
    for i, (soz, sure, f0) in enumerate(sentetik.SOZCUKLER):
        a.append((soz, sentetik.alim(sure, f0 * 1.03, 100 + i), OO))
    soz, sure, f0 = sentetik.SOZCUKLER[0]
    a.append((soz, sentetik.alim(sure, f0, 200, 16000), 16000))
    return a


class EgitimTest(unittest.TestCase):
    def test_c_ile_ayni_dosyalar(self):
        for soz, _, _ in sentetik.SOZCUKLER:
            for ad in (soz + ".vlm", soz + ".vlm.txt"):
                with self.subTest(ad), open(os.path.join(c_dizini, ad), "rb") as c, \
                        open(os.path.join(p_dizini, ad), "rb") as p:
                    self.assertEqual(p.read(), c.read())


class TanimaTest(unittest.TestCase):
    def test_c_ile_ayni_yanit(self):
        with velmo.Tanici(p_dizini) as t:
            for soz, x, oo in tanima_alimlari():
                with self.subTest(soz=soz, oo=oo):
                    s = t.tani(x, oo=oo)
                    self.assertEqual(s.soz, soz)
                    self.assertEqual(p_tani(s), c_tani(x, oo))
                    self.assertFalse(s.reddedildi)
                    self.assertTrue(0 < s.guven <= 1)

    def test_tampon_turleri_ayni_yanit(self):
        soz, x, _ = tanima_alimlari()[1]
        ham = x.tobytes()
        iki_kat = array("h", [v for v in x for _ in range(2)])
        turler = {
            "bytes": lambda: ham,
            "bytearray": lambda: bytearray(ham),
            "kaymış bytearray": lambda: memoryview(bytearray(b"\0" + ham))[1:],
            "memoryview": lambda: memoryview(x),
            "aralıklı memoryview": lambda: memoryview(iki_kat)[::2],
            "numpy": lambda: numpy.frombuffer(ham, dtype=numpy.int16),
            "yazılabilir numpy": lambda: numpy.array(x, dtype=numpy.int16),
            "aralıklı numpy": lambda: numpy.repeat(numpy.array(x, dtype=numpy.int16), 2)[::2],
        }
        with velmo.Tanici(p_dizini) as t:
            beklenen = t.tani(x)
            self.assertEqual(beklenen.soz, soz)
            for ad, yap in turler.items():
                with self.subTest(ad):
                    if "numpy" in ad and numpy is None:
                        self.skipTest("numpy yok")
                    self.assertEqual(t.tani(yap()), beklenen)

    def test_yanlis_tamponlar(self):
        x = tanima_alimlari()[0][1]
        durumlar = {
            "array('i')": (lambda: array("i", x), TypeError),
            "array('H')": (lambda: array("H", [v & 0xFFFF for v in x]), TypeError),
            "array('f')": (lambda: array("f", x), TypeError),
            "list": (lambda: list(x), TypeError),
            "str": (lambda: "evet", TypeError),
            "tek bayt sayısı": (lambda: x.tobytes()[:-1], ValueError),
            "numpy float32": (lambda: numpy.array(x, dtype=numpy.float32), TypeError),
            "numpy büyük sonlu": (lambda: numpy.array(x, dtype=">i2"), TypeError),
            "numpy iki kanal": (lambda: numpy.array(x, dtype=numpy.int16).reshape(-1, 2), ValueError),
        }
        with velmo.Tanici(p_dizini) as t:
            for ad, (yap, hata) in durumlar.items():
                with self.subTest(ad):
                    if "numpy" in ad and numpy is None:
                        self.skipTest("numpy yok")
                    self.assertRaises(hata, t.tani, yap())
                    self.assertRaises(hata, velmo.egit, os.path.join(dizin, "x.vlm"), "x", [yap()])
        self.assertFalse(os.path.exists(os.path.join(dizin, "x.vlm")))

    def test_hicbir_sey_taninmayinca_none(self):
        gurultu = sentetik.sozcuk(10, 1, 2.0, 150, 7)  # the word would start after the end: noise only
        with velmo.Tanici(p_dizini) as t:
            self.assertIsNone(t.tani(gurultu))
            self.assertEqual(t.ileti, c_tani(gurultu))

    def test_hassasiyetle_ret(self):
        soz, x, _ = tanima_alimlari()[1]
        with velmo.Tanici(p_dizini) as t:
            kabul = t.tani(x)
            # 0 refuses all but a perfect fit, 1 refuses nothing.
            for hassasiyet, reddedildi in ((0, True), (1, False), (None, False)):
                with self.subTest(hassasiyet=hassasiyet):
                    s = t.tani(x, hassasiyet=hassasiyet)
                    self.assertEqual(s.reddedildi, reddedildi)
                    self.assertEqual(bool(s), not reddedildi)
                    self.assertEqual((s.soz, s.puan, s.guven), (kabul.soz, kabul.puan, kabul.guven))

    def test_kapatma(self):
        with velmo.Tanici(p_dizini) as t:
            pass
        self.assertRaises(ValueError, t.tani, b"\0\0")
        t.kapat()  # a second close does nothing (the library would free twice)


class HataTest(unittest.TestCase):
    def test_kitapligin_iletisiyle(self):
        x = tanima_alimlari()[0][1]
        bos = os.path.join(dizin, "bos")
        os.makedirs(bos, exist_ok=True)
        sessiz = array("h", bytes(2 * OO))
        uzun_soz = "bu söz on dokuz bayttan uzun"
        vlm = os.path.join(dizin, "s.vlm")
        t = velmo.Tanici(p_dizini)
        self.addCleanup(t.kapat)
        # (what Python does, what ornek is run with and where it says why); None: no C counterpart
        durumlar = {
            "olmayan dizin": (lambda: velmo.Tanici("/yok/boyle/bir/dizin"),
                              ("tani", "/yok/boyle/bir/dizin", str(OO), "x.raw"), "stderr"),
            "kural dosyasız dizin": (lambda: velmo.Tanici(bos), ("tani", bos, str(OO), "x.raw"), "stderr"),
            "geçersiz oran": (lambda: t.tani(x, oo=50), ("tani", p_dizini, "50", ham_yaz("x", x)), "stdout"),
            "boş kayıt": (lambda: t.tani(b""), ("tani", p_dizini, str(OO), ham_yaz("b", b"")), "stdout"),
            "uzun sözcük": (lambda: velmo.egit(vlm, uzun_soz, [x]),
                            ("egit", vlm, uzun_soz, str(OO), "1", ham_yaz("x", x)), "stderr"),
            "sessizlikten eğitim": (lambda: velmo.egit(vlm, "sessiz", [sessiz]),
                                    ("egit", vlm, "sessiz", str(OO), "1", ham_yaz("s", sessiz)), "stderr"),
            "hassasiyet 1'den büyük": (lambda: t.tani(x, hassasiyet=2), None, None),
            "kayıtsız eğitim": (lambda: velmo.egit(vlm, "x", []), None, None),
        }
        for ad, (yap, c_arg, akim) in durumlar.items():
            with self.subTest(ad):
                with self.assertRaises(velmo.Hata) as h:
                    yap()
                self.assertTrue(str(h.exception))
                if c_arg:
                    c = getattr(c_calistir(*c_arg, beklenen=1), akim).rstrip("\n")
                    self.assertEqual(str(h.exception), c.split("\t")[-1])

    def test_iletinin_dili_ortamdan(self):
        # The library's language is chosen once per process, from its
        # environment: each case runs in a process of its own.
        betik = ("import velmo\ntry:\n    velmo.Tanici('/yok/boyle/bir/dizin')\n"
                 "except velmo.Hata as h:\n    print(h)\n")
        for ortam, beklenen in (({"LANGUAGE": "en"}, "cannot be read"), ({}, "okunamıyor")):
            with self.subTest(ortam):
                e = {k: v for k, v in os.environ.items() if k not in ("LANGUAGE", "LC_ALL", "LC_MESSAGES")}
                e.update(LANG="C.UTF-8", **ortam)
                c = subprocess.run([sys.executable, "-c", betik], env=e, capture_output=True, text=True)
                self.assertIn(beklenen, c.stdout, c.stderr)


if __name__ == "__main__":
    unittest.main()
