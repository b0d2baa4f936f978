#!/usr/bin/env python3
"""FSDD takes as microphone buffers over another background than white noise.

    tools/fsdd-arka.py --renk pembe|kahverengi|ugultu|dc --tepe DBFS --gurultu DB
                       [--dc YÜZDE] --veri DİZİN --cikis DİZİN [-j İŞ] KONUŞMACI...

Used by tools/fsdd-degerlendir.sh --renk. Every take {digit}_{speaker}_{take}.wav
(digits 0-9, takes 0-49) becomes a 16-bit, 3 s buffer of the same name in
--cikis at 12000 Hz: 0.4 s of lead, the take with its peak at --tepe dBFS
(the peak of the file as it is), then the rest of the 3 s, and over all of it
  pembe, kahverengi  pink or brown noise,
  ugultu             50 Hz hum with its 2nd and 3rd harmonics 6 and 10 dB down,
each at the RMS of the white noise velmo-toplu adds (uniform, its peak
--gurultu dB below the take's, so its RMS 4.8 dB lower still), or
  dc                 a DC offset of --dc per cent of full scale (velmo-toplu
                     adds its white noise later).
A speaker's 500 takes go through sox in one stream (joined, padded,
resampled, mixed with one long background, then cut into 3 s pieces), so
each take has its own stretch of background. sox runs repeatably (-R) and
without dither (-D): every run makes the same buffers.
"""
import argparse
import math
import os
import subprocess
import sys
import wave

ORAN = 12000
SURE = 3  # seconds per buffer
ONDE = 0.4  # seconds of lead
RAKAMLAR = range(10)
ALIMLAR = range(50)


def sox(*args):
    subprocess.run(["sox", "-R", "-D", "-V1", *args], check=True)


def tepe_ve_uzunluk(ad):
    """Peak (0..1) and frames of a 16-bit mono WAV, and its rate."""
    with wave.open(ad, "rb") as w:
        if w.getsampwidth() != 2 or w.getnchannels() != 1:
            sys.exit(f"{ad}: 16 bit tek kanal değil")
        n, oran = w.getnframes(), w.getframerate()
        veri = memoryview(w.readframes(n)).cast("h")
    tepe = max(max(veri, default=0), -min(veri, default=0)) / 32768.0
    return tepe, n, oran


def arka_plan(renk, gecici, saniye):
    """The long background (unscaled) for a speaker's stream, and its RMS in dB."""
    ad = os.path.join(gecici, "arka.wav")
    bicim = ["-r", str(ORAN), "-c", "1", "-e", "floating-point", "-b", "32"]
    if renk == "ugultu":
        # The mains a little above 50 Hz, so that the hum's phase moves from
        # one buffer to the next (by 1/100 of a cycle) and a whole number of
        # its cycles fills DONGU seconds: that stretch, repeated, is seamless.
        DONGU = 300
        temel = 50 + 1 / DONGU
        bilesen = []
        for kat, v in ((1, 1.0), (2, 0.5), (3, 0.316)):
            b = os.path.join(gecici, f"ugultu{kat}.wav")
            sox("-n", *bicim, b, "synth", str(DONGU), "sine", f"{kat * temel:.9f}")
            bilesen += ["-v", str(v), b]
        dongu = os.path.join(gecici, "ugultu.wav")
        sox("-m", *bilesen, "-e", "floating-point", "-b", "32", dongu)
        sox(*[dongu] * math.ceil(saniye / DONGU), ad)
    else:
        tur = {"pembe": "pinknoise", "kahverengi": "brownnoise"}[renk]
        sox("-n", *bicim, ad, "synth", str(saniye), tur)
    cikti = subprocess.run(["sox", ad, "-n", "stats"], check=True, capture_output=True, text=True).stderr
    for satir in cikti.splitlines():
        if satir.startswith("RMS lev dB"):
            return ad, float(satir.split()[3])
    sys.exit("sox stats: RMS yok")


def konusmaci(k, a, arka, gecici):
    adlar = [f"{d}_{k}_{t}.wav" for d in RAKAMLAR for t in ALIMLAR]
    girdiler, dolgular = [], []
    konum, oran0 = 0, None
    for ad in adlar:
        tepe, n, oran = tepe_ve_uzunluk(os.path.join(a.veri, ad))
        if oran0 is None:
            oran0 = oran
        if oran != oran0:
            sys.exit(f"{ad}: örnekleme oranı {oran}, öncekilerinki {oran0}")
        onde = round(ONDE * oran)
        kalan = SURE * oran - onde - n
        if kalan < 0:
            sys.exit(f"{ad}: {SURE - ONDE} saniyeden uzun")
        kazanc = 10 ** (a.tepe / 20) / tepe if tepe > 0 else 1.0
        girdiler += ["-v", f"{kazanc:.9g}", os.path.join(a.veri, ad)]
        # The lead goes before the take, its rest after it (joined with the
        # next take's lead: pad positions must grow).
        if not dolgular:
            dolgular.append(f"{onde}s@0s")
        konum += n
        dolgular.append(f"{kalan}s@{konum}s")
        if ad != adlar[-1]:
            dolgular[-1] = f"{kalan + onde}s@{konum}s"
    akis = os.path.join(gecici, f"{k}.akis.wav")
    etkiler = ["pad", *dolgular, "rate", "-v", str(ORAN)]
    if a.renk == "dc":
        etkiler += ["dcshift", f"{a.dc / 100:.6f}"]
    sox(*girdiler, "-e", "floating-point", "-b", "32", akis, *etkiler)
    parca = os.path.join(gecici, f"{k}.parca.wav")
    kes = ["trim", "0", f"{SURE * ORAN}s", ":", "newfile", ":", "restart"]
    if a.renk == "dc":
        sox(akis, "-e", "signed-integer", "-b", "16", parca, *kes)
    else:
        ad, rms = arka
        # Uniform noise of peak P has RMS P / sqrt(3).
        hedef = a.tepe - a.gurultu - 10 * math.log10(3)
        sox("-m", "-v", "1", akis, "-v", f"{10 ** ((hedef - rms) / 20):.9g}", ad,
            "-e", "signed-integer", "-b", "16", parca, *kes)
    os.remove(akis)
    for i, ad in enumerate(adlar):
        os.replace(os.path.join(gecici, f"{k}.parca{i + 1:03d}.wav"), os.path.join(a.cikis, ad))


def main():
    p = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    p.add_argument("--renk", required=True, choices=["pembe", "kahverengi", "ugultu", "dc"])
    p.add_argument("--tepe", type=float, required=True)
    p.add_argument("--gurultu", type=float, required=True)
    p.add_argument("--dc", type=float, default=3.0)
    p.add_argument("--veri", required=True)
    p.add_argument("--cikis", required=True)
    p.add_argument("-j", type=int, default=os.cpu_count() or 1)
    p.add_argument("konusmacilar", nargs="+")
    a = p.parse_args()
    gecici = os.path.join(a.cikis, ".hazirlik")
    os.makedirs(gecici, exist_ok=True)
    # One background as long as a speaker's stream; every speaker uses it.
    arka = None if a.renk == "dc" else arka_plan(a.renk, gecici, SURE * len(RAKAMLAR) * len(ALIMLAR))
    from concurrent.futures import ThreadPoolExecutor
    with ThreadPoolExecutor(max_workers=max(1, a.j)) as h:
        for f in [h.submit(konusmaci, k, a, arka, gecici) for k in a.konusmacilar]:
            f.result()
    for ad in os.listdir(gecici):
        os.remove(os.path.join(gecici, ad))
    os.rmdir(gecici)


if __name__ == "__main__":
    main()
