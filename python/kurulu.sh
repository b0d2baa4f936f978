#!/usr/bin/env bash
# The installed velmo Python module as a user imports it: `cmake --install`
# into a prefix of one's own (the module under lib/pythonX.Y/site-packages)
# and, staged through DESTDIR, under /usr as the package has it
# (lib/python3/dist-packages). Each time the module, with nothing but its own
# directory on the path, loads the installed libvelmo, trains two words from
# kept WAV takes and recognises a kept take of each.
#   kurulu.sh BUILD_DIR PYTHON
set -u
insa=$1 python=$2
testler="$(cd "$(dirname "$0")" && pwd)/testler"
hata() { echo "HATA: $*" >&2; exit 1; }
dizin=$(mktemp -d); trap 'rm -rf "$dizin"' EXIT
surum=$("$python" -c 'import sys; print("%d.%d" % sys.version_info[:2])')

dene() {  # ROOT MODULE_DIR: the module installed in ROOT/MODULE_DIR works from there
  local kok=$1 modul=$2
  [ -f "$kok/$modul/velmo/__init__.py" ] || hata "modul $modul altina kurulmadi: $(cd "$kok" && find . -name __init__.py)"
  rm -rf "$dizin/is" && mkdir "$dizin/is"
  (cd "$dizin/is" && env -u VELMO_KITAPLIK -u LD_LIBRARY_PATH PYTHONPATH="$kok/$modul" XDG_CONFIG_HOME="$dizin/is" \
    "$python" - "$kok" "$testler" <<'PY') || hata "$modul: kurulu modul calismadi"
import os, sys, wave
kok, testler = sys.argv[1:]
sys.path.append(testler)
import sentetik
import velmo

def kaydet(ad, x):  # a take as velmo --kayitlar keeps it
    with wave.open(ad, "wb") as w:
        w.setnchannels(1); w.setsampwidth(2); w.setframerate(12000); w.writeframes(x.tobytes())

def oku(ad):
    with wave.open(ad, "rb") as w:
        return w.readframes(w.getnframes()), w.getframerate()

gercek = lambda y: os.path.realpath(y)
assert gercek(velmo.__file__).startswith(gercek(kok) + "/"), velmo.__file__
with open("/proc/self/maps") as f:
    yuklu = {gercek(s.split()[-1]) for s in f if "libvelmo" in s}
assert len(yuklu) == 1 and yuklu.pop().startswith(gercek(kok) + "/"), "libvelmo kurulu yerden yuklenmedi"

os.mkdir("kayitlar"); os.mkdir("kelimeler")
for i, (soz, sure, f0) in enumerate(sentetik.SOZCUKLER):
    alimlar = sentetik.egitim_alimlari(sure, f0, 10 * i + 1) + [sentetik.alim(sure, f0 * 1.03, 100 + i)]
    for k, x in enumerate(alimlar):
        kaydet(f"kayitlar/{3 * i + k + 1:04}-{soz}.wav" if k < 2 else f"kayitlar/{3 * i + k + 1:04}.wav", x)
    velmo.egit(f"kelimeler/{soz}.vlm", soz, [oku(f"kayitlar/{3 * i + k + 1:04}-{soz}.wav")[0] for k in range(2)])
with velmo.Tanici("kelimeler") as t:
    for i, (soz, _, _) in enumerate(sentetik.SOZCUKLER):
        x, oo = oku(f"kayitlar/{3 * i + 3:04}.wav")
        s = t.tani(x, oo=oo)
        assert s and s.soz == soz and s.dosya == soz + ".vlm", (soz, s)
PY
}

onek=$dizin/onek
cmake --install "$insa" --prefix "$onek" >"$dizin/kurulum.log" 2>&1 || { cat "$dizin/kurulum.log" >&2; hata "kurulum"; }
dene "$onek" "lib/python$surum/site-packages"
DESTDIR=$dizin/kok cmake --install "$insa" --prefix /usr >"$dizin/kurulum.log" 2>&1 ||
  { cat "$dizin/kurulum.log" >&2; hata "/usr kurulumu"; }
dene "$dizin/kok/usr" lib/python3/dist-packages
echo tamam
