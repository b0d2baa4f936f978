#!/usr/bin/env bash
# velmo-toplu rapor as a user and a program use it: the text report of a
# codebook of each kind in UTF-8, byte for byte the one beside the
# file; the JSON read back and compared with the file's own bytes; a hostile
# word kept off the terminal; broken files named with their fault, with
# nothing on standard output and exit status 1; usage errors with 2.
set -u
TOPLU=$1
SES="$(cd "$(dirname "$0")" && pwd)/../audio/ses_hazirla.sh"
hata() { echo "HATA: $*" >&2; exit 1; }
command -v python3 >/dev/null || hata "python3 yok (scripts/kur.sh kurar)"
export LC_ALL=C.UTF-8 LANG=C.UTF-8 LANGUAGE=
dizin=$(mktemp -d); trap 'rm -rf "$dizin"' EXIT
cd "$dizin"

rc() {  # rc EXPECTED ARGS...: output in o and e
  local bek=$1; shift
  timeout 60 "$TOPLU" "$@" >o 2>e
  local r=$?
  [ $r -eq "$bek" ] || { cat o e >&2; hata "'$*' cikis kodu $r, $bek bekleniyordu"; }
}
wav() {  # WORD FILE [ses_hazirla options]
  local soz=$1 ad=$2; shift 2
  "$SES" -g 0.002 "$@" "$soz" "$ad.raw" 3 && sox -t raw -r 12000 -c 1 -b 16 -e signed-integer -L "$ad.raw" "$ad.wav"
  rm -f "$ad.raw"
}
# The report file beside a codebook, as the terminal gets it.
utf8_rapor() { iconv -f WINDOWS-1254 -t UTF-8 "$1.txt"; }

# JSON (file o) against the codebook file's bytes: every header field, the
# settings under their option names, every codeword the same float (sign of
# zero included).
json_denetle() {
  python3 - "$1" o <<'EOF' || hata "json $1 dosyayla uyusmuyor"
import json, struct, sys
vlm, cikti = sys.argv[1], sys.argv[2]
ham = open(vlm, "rb").read()
metin = open(cikti, "rb").read()
assert metin.endswith(b"\n") and metin.count(b"\n") == 1, "one line"
j = json.loads(metin)
adlar = ["tur", "soz", "kmt", "ks", "oo", "oc", "ksu", "kpensu", "yee", "aee", "bsge", "pensu", "admsu", "m", "n", "p", "s"]
d = dict(zip(adlar, struct.unpack("<4x i 20s 15i", ham[:88])))
assert j["dosya"] == vlm, j["dosya"]
assert j["bicim"] == "VLM"
assert j["tur"] == d["tur"]
assert j["tur_adi"] == {1: "LPC", 2: "DeltaLPC", 3: "kesitli LPC"}[d["tur"]]
assert j["soz"] == d["soz"].split(b"\0")[0].decode("cp1254"), j["soz"]
assert j["komut"] == d["kmt"]
ayarlar = {k: v for k, v in d.items() if k not in ("soz", "kmt")}
assert j["ayarlar"] == ayarlar, (j["ayarlar"], ayarlar)
s, n = d["s"], d["n"]
assert ("kesitler" in j) == (d["tur"] == 3)
if d["tur"] == 3:
    assert j["kesitler"] == [{"ilk_yoney": 0, "yoney_sayisi": s // 2}, {"ilk_yoney": s // 2, "yoney_sayisi": s // 2}]
y = j["kural_yoneyleri"]
assert len(y) == s and all(len(r) == n for r in y), "shape"
geri = b"".join(struct.pack("<f", float(v)) for r in y for v in r)
assert geri == ham[88:88 + 4 * s * n], "codewords differ"
kuyruk = ham[88 + 4 * s * n:]
if kuyruk:  # a kind-3 calibration
    assert d["tur"] == 3 and len(kuyruk) == 16 and kuyruk[:4] == b"KAL\x01", kuyruk
    k = j["kalibrasyon"]
    assert struct.pack("<ffi", k["dogal_uzaklik"], k["egitim_uzakligi"], k["ayri_tutulan_alim"]) == kuyruk[4:], k
else:
    assert "kalibrasyon" not in j
assert list(j) [-1] == "kural_yoneyleri"
EOF
}

wav evet evet; wav evet evet2 -p 62 -s 140
mkdir r r2 r3
# A kind-1 word with letters outside ASCII, a kind-2 and a kind-3 word.
rc 0 egit -o r/isbirligi.vlm --soz İşbirliği evet.wav
rc 0 egit --tur 2 -o r2/evet.vlm evet.wav
rc 0 egit --tur 3 -o r3/evet.vlm evet.wav evet2.wav
for f in r/isbirligi.vlm r2/evet.vlm r3/evet.vlm; do
  rc 0 rapor "$f"
  utf8_rapor "$f" | cmp -s - o || { diff <(utf8_rapor "$f") o >&2; hata "rapor $f metin raporunun UTF-8'i degil"; }
  [ ! -s e ] || { cat e >&2; hata "rapor $f standart hataya yazdi"; }
  rc 0 rapor --json "$f"
  json_denetle "$f"
done
rc 0 rapor r/isbirligi.vlm
grep -qx "              Söz Karşılığı=İşbirliği" o || hata "soz UTF-8 degil"
grep -qx "KURAL YÖNEYLERİ" o && grep -q "^9:14	" o || hata "kural yoneyleri"
rc 0 rapor r3/evet.vlm
grep -qx "           Tür Belirteci=KESİTLİ LPC KURAL KİTABI" o && grep -q "Kesit Sayısı=2 (her kesitte 5 " o ||
  hata "3. tur basligi"
rc 0 rapor --json r3/evet.vlm
grep -q '"tur_adi":"kesitli LPC"' o && grep -q '"kepstrum_agirligi":{"bicim":"sinus","L":22' o || hata "3. tur json"

# A file made by hand: a word that would move the cursor and clear the
# screen, and floats at the edges (negative zero, the least subnormal, the
# greatest float, shortest texts of many digits).
python3 - r/isbirligi.vlm el.vlm <<'EOF'
import struct, sys
ham = bytearray(open(sys.argv[1], "rb").read())
ham[8:28] = b"\x1b[2J\x1b[Hk\xfe\xf0\xdd".ljust(20, b"\0")
struct.pack_into("<i", ham, 28, 42)
degerler = [-0.0, 1e-45, 3.4028234663852886e38, -1.1754943508222875e-38, 0.1, -2.5e-7, 16777216.0, 0.0, 1.0 / 3]
for i, v in enumerate(degerler):
    struct.pack_into("<f", ham, 88 + 4 * i, v)
open(sys.argv[2], "wb").write(ham)
EOF
rc 0 rapor el.vlm
grep -q $'\x1b' o && hata "sozdeki denetim karakterleri ucbirime gitti"
grep -qxF '              Söz Karşılığı=\x1B[2J\x1B[Hkşğİ' o || { cat o >&2; hata "hasmane soz gorunur yazilmadi"; }
grep -qx "             Komut Numarası=42" o || hata "komut numarasi"
rc 0 rapor --json el.vlm
json_denetle el.vlm
grep -q '"soz":"\\u001b\[2J\\u001b\[Hkşğİ","komut":42' o || { cat o >&2; hata "json soz"; }
grep -q '"kural_yoneyleri":\[\[-0.0,1e-45,3.4028235e+38,-1.1754944e-38,0.1,-2.5e-07,16777216,0,0.33333334,' o ||
  { cat o >&2; hata "json sayilarinin metni"; }

# Output that never arrives is no success: a full disk gives status 1 and says so.
if [ -w /dev/full ]; then
  timeout 60 "$TOPLU" rapor r/isbirligi.vlm >/dev/full 2>e; r=$?
  [ $r -eq 1 ] || hata "dolu diske yazilan rapor cikis kodu $r"
  grep -q "standart çıktıya yazılamadı" e || { cat e >&2; hata "dolu disk soylenmedi"; }
fi

# Files that are no codebook: the fault named with the file, nothing on
# standard output, in both forms.
head -c 300 r/isbirligi.vlm > kesik.vlm
head -c 50 r/isbirligi.vlm > baslik.vlm
: > bos.vlm
cp r/isbirligi.vlm fazla.vlm; echo x >> fazla.vlm
yamala() {  # yamala OUT OFFSET PYTHON-BYTES: the kind-1 file with bytes replaced
  python3 -c "import sys; h = bytearray(open('r/isbirligi.vlm','rb').read()); b = $3; h[$2:$2 + len(b)] = b; open('$1','wb').write(h)"
}
yamala biçim.vlm 0 'b"XLM\0"'
yamala tur.vlm 4 '(7).to_bytes(4, "little")'
yamala tek.vlm 4 '(3).to_bytes(4, "little")'  # kind 3 with 11 codewords: not two halves
python3 -c "import sys; h = bytearray(open('tek.vlm','rb').read()); h[84:88] = (11).to_bytes(4,'little'); open('tek.vlm','wb').write(h + bytes(4 * 15))"
yamala dev.vlm 84 '(32767).to_bytes(4, "little")'
yamala nan.vlm 100 'bytes.fromhex("0000c07f")'
mkfifo boru.vlm
for f in "yok.vlm|açılamıyor: " "r|sıradan bir dosya değil" "boru.vlm|sıradan bir dosya değil" \
         "bos.vlm|başlık 88 bayttan kısa" "baslik.vlm|başlık 88 bayttan kısa" "kesik.vlm|dosya eksik (688 bayt olmalı, 300" \
         "fazla.vlm|2 bayt fazla" "biçim.vlm|biçim belirteci VLM değil" "tur.vlm|türü 7 geçersiz" \
         "tek.vlm|yöney sayısı çift olmalı (s=11)" "dev.vlm|boyutları geçersiz (s=32767" "nan.vlm|sayı olmayan ya da sonsuz"; do
  ad=${f%%|*} neden=${f#*|}
  for bicim in "" --json; do
    rc 1 rapor $bicim "$ad"
    grep -qF "$ad" e && grep -qF "$neden" e || { cat e >&2; hata "rapor $bicim $ad: neden ($neden) adiyla yazilmadi"; }
    [ "$(wc -l <e)" = 1 ] || { cat e >&2; hata "rapor $ad tek satir degil"; }
    [ ! -s o ] || hata "rapor $bicim $ad standart ciktiya yazdi"
  done
done

# The command line.
rc 0 --help; grep -q "^  rapor " o || hata "genel yardimda rapor yok"
rc 0 rapor --help; grep -q -- "--json" o || hata "rapor yardimi"
grep -q -- "--oo" o && hata "rapor yardimi okumada kullanilmayan ayarlari anlatiyor"
rc 2 rapor
rc 2 rapor r/isbirligi.vlm r3/evet.vlm
grep -qF "tek bir kural dosyası gerekli" e || hata "iki dosya iletisi"
rc 2 rapor --oo 8000 r/isbirligi.vlm
rc 2 rapor --json=1 r/isbirligi.vlm
rc 2 rapor -o x r/isbirligi.vlm
grep -q "velmo-toplu rapor --help" e && [ ! -s o ] || hata "kullanim hatasi"
echo tamam
