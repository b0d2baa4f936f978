#!/usr/bin/env bash
# velmo-toplu as a user runs it: help and exit codes, training and
# recognition of spoken words, odd and broken sound files, evaluation, the
# picture, and no dump files left behind unless asked for.
set -u
TOPLU=$1
SES="$(cd "$(dirname "$0")" && pwd)/../audio/ses_hazirla.sh"
hata() { echo "HATA: $*" >&2; exit 1; }
dizin=$(mktemp -d); trap 'rm -rf "$dizin"' EXIT
cd "$dizin"

# rc BEKLENEN KOMUT...: runs the tool with output in o/e, checks the exit code.
rc() {
  local bek=$1; shift
  timeout 60 "$TOPLU" "$@" >o 2>e
  local r=$?
  [ $r -eq "$bek" ] || { cat o e >&2; hata "'$*' cikis kodu $r, $bek bekleniyordu"; }
}
wav() {  # WORD FILE [ses_hazirla options]: 16-bit mono 12000 Hz WAV
  local soz=$1 ad=$2; shift 2
  "$SES" -g 0.002 "$@" "$soz" "$ad.raw" 3 && sox -t raw -r 12000 -c 1 -b 16 -e signed-integer -L "$ad.raw" "$ad.wav"
  rm -f "$ad.raw"
}

# Help, version and usage errors.
rc 0 --help; grep -q "degerlendir" o || hata "genel yardim"
rc 0 --version; grep -q "^velmo-toplu " o || hata "surum"
for k in egit tani degerlendir ciz; do
  rc 0 $k --help; grep -q -- "--kpensu" o || hata "$k yardimi ayarlari anlatmiyor"
  grep -q -- "(375)" o || hata "$k yardimi varsayilani gostermiyor"
done
rc 2
rc 2 nedir
rc 2 egit a.wav
rc 2 egit -o x.vlm
rc 2 tani --oo 12k a.wav
rc 2 tani --yee= a.wav
rc 2 tani --ksu 3 --bilinmez a.wav
rc 2 tani --red 2 a.wav
rc 2 tani --json=1 a.wav
rc 2 egit -o x.vlm --ksu 0 a.wav
rc 2 egit -o x.vlm --soz cokcokcokcokuzunsozcuk a.wav
rc 2 degerlendir a.wav
rc 2 degerlendir --desen '(' a.wav
rc 2 ciz a.wav b.wav
grep -q "velmo-toplu ciz --help" e || hata "kullanim hatasi yardimi gostermiyor"
[ ! -s o ] || hata "kullanim hatasi standart ciktiya yazdi"
# Each mistake is named in Turkish.
for hatali in "degerlendir -j 0 --desen x a.wav|--isler için 1 ile 1024" "degerlendir --isler=1025 --desen x a.wav|'1025'" \
              "tani --json=1 a.wav|--json değer almaz" "egit -o|için değer eksik" "tani --red 0 a.wav|--red için 0 ile 1" \
              "ciz --dolgu 61 a.wav|--dolgu 0 ile 60" "tani -x a.wav|bilinmeyen seçenek -x" "nedir|bilinmeyen komut 'nedir'"; do
  rc 2 ${hatali%%|*}
  grep -qF -- "${hatali#*|}" e || { cat e >&2; hata "'${hatali%%|*}' iletisi"; }
done
# The help shows the defaults whatever was typed before it.
rc 0 egit --yee 5 -h; grep -q -- "--yee .*(375)" o || hata "yardim yazilan degeri gosterdi"

# Training.
wav evet evet; wav hayır hayir; wav evet evet2 -p 62 -s 140; wav hayır hayir2 -p 38 -s 160
mkdir k
rc 0 egit -o k/evet.vlm evet.wav
grep -q ">Rasgele secimler yapildi" o || hata "egitim iletileri yok"
rc 0 egit -o k/hayir.vlm --soz hayır hayir.wav
[ "$(stat -c %s k/evet.vlm)" = 688 ] && [ -f k/evet.vlm.txt ] || hata "kural dosyasi ya da rapor yok"
[ "$(head -c 13 k/hayir.vlm | tail -c 5 | od -An -tx1 | tr -d ' \n')" = 686179fd72 ] ||
  hata "soz Windows-1254 olarak yazilmadi"
rc 1 egit -o k/evet.vlm evet2.wav
grep -q -- "--uzerine" e || hata "var olan dosya uyarisi"
rc 0 egit --uzerine -o k/evet.vlm evet.wav evet2.wav
grep -q ">Kural kitabi sifirlandi" o || hata "ikinci kayit eski kural kitabi yolundan egitilmedi"
# A take with too few frames for the codewords: what to change is named.
rc 1 egit -o az.vlm --s 60 evet.wav evet2.wav
grep -q -- "--s, şimdi 60" e || { cat e >&2; hata "egitim basarisizligi ne yapilacagini soylemedi"; }
ls sinir.txt Ci.txt DelCi.txt 2>/dev/null && hata "istenmeden dokum yazildi"
# Save failures go to standard error with the system's reason, in Turkish.
LANG=C.UTF-8 LANGUAGE= rc 1 egit -o yok/evet.vlm evet.wav
grep -q "^yok/evet.vlm yazılamıyor: Böyle bir dosya ya da dizin yok$" e || { cat o e >&2; hata "kayit hatasi nedeni"; }
grep -q "yazılamıyor" o && hata "kayit hatasi standart ciktiya yazildi"
# Two runs on one new name: one writes it, the other fails and says so;
# the file is whole and holds one of the two words, beside its report.
mkdir yaris
for i in 1 2 3; do
  rm -f yaris/*
  (timeout 60 "$TOPLU" egit -o yaris/s.vlm evet.wav evet2.wav >o1 2>e1; echo $? >r1) &
  (timeout 60 "$TOPLU" egit -o yaris/s.vlm --soz hayır hayir.wav hayir2.wav >o2 2>e2; echo $? >r2) &
  wait
  case "$(cat r1)$(cat r2)" in 01|10) ;; *) cat e1 e2 >&2; hata "iki egitim ayni ada yazdi";; esac
  grep -q "yaris/s.vlm zaten var" e1 e2 || { cat e1 e2 >&2; hata "kaybeden egitim nedenini soylemedi"; }
  [ "$(stat -c %s yaris/s.vlm)" = 688 ] && [ -f yaris/s.vlm.txt ] || hata "yaris sonrasi dosya"
  [ "$(ls -A yaris | wc -l)" = 2 ] || hata "yaris gecici dosya birakti"
done
mkdir dk
rc 0 egit -o dk.vlm --dokum dk evet.wav
[ -f dk/sinir.txt ] && [ -f dk/Ci.txt ] && [ -f dk/DelCi.txt ] || hata "dokum dizine yazilmadi"

# Recognition, also of files in other formats and rates.
sox evet2.wav -r 44100 -c 2 -e floating-point evet_st.wav
sox hayir2.wav -r 8000 -b 8 hayir_8.wav
rc 0 tani -d k evet2.wav hayir2.wav evet_st.wav hayir_8.wav
[ "$(cut -f1,2,4 o)" = "$(printf 'evet2.wav\tevet\tevet.vlm\nhayir2.wav\thayır\thayir.vlm\nevet_st.wav\tevet\tevet.vlm\nhayir_8.wav\thayır\thayir.vlm')" ] ||
  { cat o >&2; hata "tanima sonuclari"; }
[ ! -s e ] || { cat e >&2; hata "basarili tanimada standart hataya yazildi"; }
rc 0 tani -d k --hepsi --json evet2.wav
grep -q '^{"kural_dizini":"k","sonuclar":\[{"dosya":"evet2.wav","okundu":true,"soz":"evet",' o || { cat o >&2; hata "json"; }
grep -q '"puanlar":\[{"kural_dosyasi":"evet.vlm"' o || hata "json puanlar"
[ "$(wc -l < o)" = 1 ] || hata "json ciktisi temiz degil"

# Broken files are named, the rest goes on.
: > bos.wav; echo "ses degil" > metin.wav; head -c 60 evet.wav > yarim.wav
rc 1 tani -d k bos.wav evet2.wav metin.wav yok.wav yarim.wav hayir2.wav
for f in bos.wav metin.wav yok.wav yarim.wav; do grep -q "^$f: " e || { cat e >&2; hata "$f adiyla bildirilmedi"; }; done
# The cut file is read as far as it goes (a warning names it): nothing wins.
[ "$(cut -f1,2 o | tr '\n' ' ')" = "$(printf 'evet2.wav\tevet yarim.wav\t hayir2.wav\thayır ')" ] ||
  { cat o >&2; hata "bozuk dosyalardan sonra tanima surmedi"; }
# Silence: nothing wins.
sox -n -r 12000 -b 16 -c 1 sessiz.wav trim 0 2
rc 0 tani -d k sessiz.wav
[ "$(cut -f2,3 o)" = "$(printf '\t1000.000000')" ] || { cat o >&2; hata "sessizlik bir sozcuk buldu"; }
rc 1 tani -d yokdizin evet.wav
mkdir bosdizin
rc 1 tani -d bosdizin evet.wav
[ ! -s o ] && grep -q "^bosdizin: " e || { cat o e >&2; hata "kural dosyasi olmayan dizin bildirilmedi"; }

# Evaluation.
printf 'kayit,soz\nevet2.wav,evet\nhayir2.wav,hayır\nsessiz.wav,evet\n' > liste.csv
rc 0 degerlendir -d k --liste liste.csv
grep -q "Doğruluk: 2/3" o || { cat o >&2; hata "dogruluk"; }
grep -q "sessiz.wav	evet	(yok)" o || hata "yanlislar listesi"
rc 0 degerlendir -d k --json --desen '^([a-z]+)' evet2.wav evet_st.wav
grep -q '"toplam":2,"dogru":2' o || { cat o >&2; hata "desenle degerlendirme"; }
rc 1 degerlendir -d k --desen '^[0-9]' evet2.wav

# The picture.
rc 0 ciz evet.wav
grep -q "</svg>" evet.svg && grep -q "yüksek örke eşiği 375" evet.svg || hata "resim"
rc 0 ciz -o - --yee 100000 evet.wav
grep -q "Konuşma bulunamadı" o || hata "konusmasiz resim"
# A repeated option counts once, the last; after "--" every word is a file.
cp evet.wav -- -e.wav
rc 0 ciz --cikti=- --yee=100000 --yee 300 --aee 50 -- -e.wav
grep -q "yüksek örke eşiği 300" o && grep -q "alçak örke eşiği 50" o || hata "tekrarlanan secenek ya da -- sonrasi"
ls sinir.txt Ci.txt DelCi.txt 2>/dev/null && hata "istenmeden dokum yazildi"
echo tamam
