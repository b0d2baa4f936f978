#!/usr/bin/env bash
# velmo-dinle as a user runs it: help and usage errors, a stream of spoken
# words from a file and from the sound device (ALSA's file plugin), JSON,
# rejection, voice commands, collected takes trained into a codebook, and
# every kind of bad input.
set -u
DINLE=$1
TOPLU=$2
SES="$(cd "$(dirname "$0")" && pwd)/../audio/ses_hazirla.sh"
hata() { echo "HATA: $*" >&2; exit 1; }
dizin=$(mktemp -d); trap 'rm -rf "$dizin"' EXIT
cd "$dizin"
HAM=(-t raw -r 12000 -c 1 -b 16 -e signed-integer -L)

rc() {  # EXPECTED ARGS...: output in o and e
  local bek=$1; shift
  timeout 120 "$DINLE" "$@" >o 2>e
  local r=$?
  [ $r -eq "$bek" ] || { cat o e >&2; hata "'$*' cikis kodu $r, $bek bekleniyordu"; }
}
# soz WORD FILE SECONDS [ses_hazirla options]: a WAV of the word
soz() {
  local w=$1 ad=$2 s=$3; shift 3
  "$SES" "$@" "$w" "$ad.raw" "$s" && sox "${HAM[@]}" "$ad.raw" "$ad.wav" && rm -f "$ad.raw"
}
sessiz() { sox -n -r 12000 -c 1 -b 16 "$2.wav" trim 0 "$1"; }
# Mixes white noise of amplitude $2 under $1.wav, in place.
gurultu() {
  sox -n -r 12000 -c 1 -b 16 g.wav synth "$(soxi -D "$1.wav")" whitenoise vol "$2"
  sox -m "$1.wav" g.wav "$1.g.wav" && mv "$1.g.wav" "$1.wav"
}
# Column 3 of the result lines, one line.
sozler() { cut -f3 o | paste -sd' '; }

# --- help, version, usage errors ---
rc 0 --help
grep -q -- "--komutlar" o && grep -q -- "--kpensu" o && grep -q "Çıkış durumu" o || hata "yardim eksik"
rc 0 --version; grep -q "^velmo-dinle " o || hata "surum"
for a in "--sure abc" "--sure 0" "--red 2" "--esik -1" "--bilinmez" "fazla" "--oo" "--oo 12k" \
         "--sessizlik 5" "--girdi a.wav --aygit x" "--kpensu 2147483647"; do
  rc 2 $a
  grep -q "velmo-dinle --help" e || hata "$a: kullanim hatasi yardimi gostermiyor"
  [ ! -s o ] || hata "$a: kullanim hatasi standart ciktiya yazdi"
done

# --- codebooks of three words, trained from takes with a lead of silence ---
for w in evet hayır merhaba; do soz $w t_$w 3 -g 0.002; done
mkdir k
"$TOPLU" egit -o k/evet.vlm t_evet.wav >/dev/null && "$TOPLU" egit -o k/hayir.vlm --soz hayır t_hayır.wav >/dev/null &&
  "$TOPLU" egit -o k/merhaba.vlm t_merhaba.wav >/dev/null || hata "egitim"

# --- settings come from the codebooks: words trained at 8000 Hz with other
# frames are heard at 8000 Hz; a codebook of other settings is named, skipped ---
mkdir k8
for w in evet hayır merhaba; do
  "$TOPLU" egit -o "k8/$w.vlm" --soz $w --oo 8000 --pensu 30 --admsu 15 t_$w.wav >/dev/null || hata "8000 Hz egitim"
done
# --- a stream: words in silence and noise, another pitch than the takes ---
soz evet e 0.9 -g 0 -b 0 -p 60; soz hayır h 0.9 -g 0 -b 0 -p 44; soz merhaba m 1.2 -g 0 -b 0 -p 56
sessiz 0.8 s8; sessiz 0.5 s5; sessiz 1 s1
sox s8.wav e.wav s5.wav h.wav s1.wav m.wav s5.wav e.wav s8.wav akis.wav; gurultu akis 0.003
rc 0 -d k --girdi akis.wav
[ "$(sozler)" = "evet hayır merhaba evet" ] || { cat o e >&2; hata "akis: $(sozler)"; }
[ "$(cut -f5 o | paste -sd' ')" = "evet.vlm hayir.vlm merhaba.vlm evet.vlm" ] || hata "akis dosyalari"
# Start and end times: in order, inside the stream, not overlapping.
awk -F'\t' 'BEGIN{s=0} { if ($1 < s || $2 <= $1 || $2 > 7.2) exit 1; s = $2 }' o || { cat o >&2; hata "zamanlar"; }
[ ! -s e ] || { cat e >&2; hata "basarili dinlemede standart hataya yazildi"; }
rc 0 -d k --girdi akis.wav --sure 2.5
[ "$(sozler)" = "evet hayır" ] || { cat o >&2; hata "--sure: $(sozler)"; }

rc 0 -d k8 --girdi akis.wav
[ "$(sozler)" = "evet hayır merhaba evet" ] || { cat o e >&2; hata "8000 Hz kural dosyalari: $(sozler)"; }
cp k/evet.vlm k8/zzz.vlm
rc 0 -d k8 --girdi akis.wav
[ "$(sozler)" = "evet hayır merhaba evet" ] && grep -q "zzz.vlm" e || { cat o e >&2; hata "karisik ayarli dizin"; }
rm k8/zzz.vlm
# Kind-3 codebooks are heard with their own kind whatever the command line
# says, and one directory may hold every kind: none is skipped.
mkdir k3 karma
for w in evet hayır merhaba; do
  "$TOPLU" egit -o "k3/$w.vlm" --soz $w --tur 3 t_$w.wav >/dev/null || hata "tur 3 egitim"
done
rc 0 -d k3 --girdi akis.wav; cp o k3.o
[ "$(sozler)" = "evet hayır merhaba evet" ] || { cat o e >&2; hata "tur 3: $(sozler)"; }
rc 0 -d k3 --girdi akis.wav --tur 3
cmp -s o k3.o || { diff o k3.o >&2; hata "tur 3 dizini --tur 3 olmadan baska puanlar aldi"; }
cp k/evet.vlm karma/evet1.vlm; cp k3/evet.vlm karma/evet3.vlm; cp k8/evet.vlm karma/evet8.vlm
rc 0 -d karma --girdi akis.wav
[ "$(wc -l < o)" = 4 ] && grep -q "evet8.vlm" e && [ "$(wc -l < e)" = 1 ] ||
  { cat o e >&2; hata "karisik turler"; }
# JSON: one object per line with every field.
rc 0 -d k --girdi akis.wav --json
[ "$(wc -l < o)" = 4 ] || hata "json satir sayisi"
grep -c '^{"baslangic":[0-9.]*,"bitis":[0-9.]*,"soz":"[a-zı]*","puan":[0-9.e-]*,"dosya":"[a-z]*\.vlm","reddedildi":false,"guven":[0-9.e-]*,"kesildi":false}$' o |
  grep -qx 4 || { cat o >&2; hata "json bicimi"; }
grep -q '"soz":"hayır"' o || hata "json utf-8"

# Rejection: a tiny distance limit rejects everything; the lines stay, empty.
rc 0 -d k --girdi akis.wav --esik 0.000001 --json
[ "$(grep -c '"soz":"","puan":[0-9]' o)" = 4 ] && [ "$(grep -c '"reddedildi":true' o)" = 4 ] || { cat o >&2; hata "--esik"; }
# A ratio no best score can beat rejects everything too; 1 rejects nothing here.
rc 0 -d k --girdi akis.wav --red 0.000001 --json
[ "$(grep -c '"soz":"","puan":[0-9]' o)" = 4 ] && [ "$(grep -c '"reddedildi":true' o)" = 4 ] || { cat o >&2; hata "--red"; }
rc 0 -d k --girdi akis.wav --red 1
[ "$(sozler)" = "evet hayır merhaba evet" ] || { cat o >&2; hata "--red 1: $(sozler)"; }

# The cough-like click is no utterance; a stream starting inside a word
# keeps the words after it; a word running into the next with a short gap
# is one utterance.
sox -n -r 12000 -c 1 -b 16 tik.wav synth 0.03 sine 900 vol 0.9
sox s8.wav tik.wav s8.wav h.wav s8.wav tikli.wav; gurultu tikli 0.003
rc 0 -d k --girdi tikli.wav
[ "$(sozler)" = "hayır" ] || { cat o >&2; hata "tik soz sayildi"; }
sox e.wav orta.wav trim 0.25
sox orta.wav s8.wav h.wav s8.wav m.wav s8.wav ortadan.wav; gurultu ortadan 0.003
rc 0 -d k --girdi ortadan.wav
[ "$(wc -l < o)" -le 3 ] && [ "$(cut -f3 o | tail -n 2 | paste -sd' ')" = "hayır merhaba" ] ||
  { cat o >&2; hata "ortadan baslayan akis"; }
sox e.wav e_kisa.wav reverse silence 1 0.01 0.5% reverse
sessiz 0.1 s01
sox s8.wav e_kisa.wav s01.wav h.wav s8.wav bitisik.wav; gurultu bitisik 0.003
rc 0 -d k --girdi bitisik.wav
[ "$(wc -l < o)" = 1 ] || { cat o >&2; hata "bitisik iki soz tek soz olmali"; }
rc 0 -d k --girdi bitisik.wav --sessizlik 50
[ "$(wc -l < o)" = 2 ] || { cat o >&2; hata "kisa sessizlikle iki soz"; }

# Silence only; noise that steps up half way, then a word over it.
sessiz 6 sus; gurultu sus 0.002
rc 0 -d k --girdi sus.wav; [ ! -s o ] || hata "sessizlikte soz bulundu"
sessiz 3 a1; gurultu a1 0.002
sox s8.wav s8.wav s8.wav e.wav s1.wav a2.wav; gurultu a2 0.02
sox a1.wav a2.wav basamak.wav
rc 0 -d k --girdi basamak.wav
[ "$(sozler)" = "evet" ] || { cat o >&2; hata "gurultu basamagi: $(sozler)"; }

# --- a word longer than the recording length is cut there ---
sox m.wav m_kisa.wav silence 1 0.01 0.5% reverse silence 1 0.01 0.5% reverse
sox m_kisa.wav m_kisa.wav m_kisa.wav m_kisa.wav uzun0.wav; sox s8.wav uzun0.wav s8.wav uzun.wav; gurultu uzun 0.003
rc 0 -d k --girdi uzun.wav --ksu 2 --json
head -n 1 o | grep -q '"kesildi":true' || { cat o >&2; hata "uzun soz kesilmedi"; }
awk -F'[:,]' 'NR==1 { if ($4 - $2 > 2.001) exit 1 }' o || hata "kesilen soz kayit suresinden uzun"

# --- voice commands ---
printf '# sozcuk<TAB>komut\nevet\techo "$VELMO_SOZ $VELMO_DOSYA $VELMO_PUAN" >> kayit.log\n\nhayır\tsleep 2; date +%%s.%%N > yavas.bitti\n' > komut.txt
timeout 60 "$DINLE" -d k --girdi akis.wav --komutlar komut.txt 2>e |
  while IFS= read -r l; do echo "$(date +%s.%N)	$l"; done > zamanli
[ "$(wc -l < kayit.log)" = 2 ] && grep -q "^evet evet.vlm [0-9.]*$" kayit.log || { cat kayit.log e >&2; hata "komut bir kez"; }
# The line after "hayır" came before its slow command ended.
sonraki=$(awk -F'\t' '$4 == "merhaba" { print $1 }' zamanli)
[ -n "$sonraki" ] && awk -v a="$sonraki" -v b="$(cat yavas.bitti)" 'BEGIN { exit !(a < b) }' ||
  { cat zamanli yavas.bitti >&2; hata "yavas komut dinlemeyi bekletti"; }
grep -q 'komut "hayır" (satır 4, süreç [0-9]*) bitti: çıkış durumu 0' e || { cat e >&2; hata "cikis durumu"; }
# What a command prints goes to standard error: standard output stays JSON.
printf 'evet\techo komut-ciktisi\n' > yazan.txt
rc 0 -d k --girdi akis.wav --komutlar yazan.txt --json
[ "$(grep -c '^{.*}$' o)" = 4 ] && [ "$(wc -l < o)" = 4 ] && [ "$(grep -c '^komut-ciktisi$' e)" = 2 ] ||
  { cat o e >&2; hata "komut ciktisi sonuc satirlarina karisti"; }
rm -f kayit.log
rc 0 -d k --girdi akis.wav --komutlar komut.txt --esik 0.000001
[ ! -e kayit.log ] || hata "geri cevrilen soz icin komut calisti"
printf 'evet\techo\n# x\nhayır echo\n' > bozuk.txt
rc 2 -d k --girdi akis.wav --komutlar bozuk.txt
grep -q "bozuk.txt:3:" e || { cat e >&2; hata "bozuk komut satiri numarasi"; }
rc 2 -d k --girdi akis.wav --komutlar yok.txt

# A signal while the end of the input waits for commands stops the wait;
# the commands go on by themselves.
printf 'evet\techo $$ >> uzun.pid; exec sleep 60\n' > uzun.txt
"$DINLE" -d k --girdi akis.wav --komutlar uzun.txt >o 2>e &
p=$!
for i in $(seq 600); do [ "$(wc -l < o)" = 4 ] && [ "$(wc -l < uzun.pid 2>/dev/null)" = 2 ] && break; sleep 0.1; done
sleep 1; kill -TERM $p
for i in $(seq 50); do kill -0 $p 2>/dev/null || break; sleep 0.1; done
kill -0 $p 2>/dev/null && { kill -KILL $p; kill $(cat uzun.pid); hata "sinyal komut beklemesini durdurmadi"; }
wait $p; r=$?
kill $(cat uzun.pid) || hata "komutlar sinyalle durdu"
[ $r -eq 0 ] || { cat e >&2; hata "komut beklerken SIGTERM cikis kodu $r"; }

# --- input and output that are not what they seem ---
mkfifo boru
timeout 10 "$DINLE" -d k --girdi boru >o 2>e; r=$?
[ $r -eq 1 ] || hata "boru --girdi: cikis kodu $r"
timeout 60 "$DINLE" -d k --girdi akis.wav >/dev/full 2>e; r=$?
[ $r -eq 1 ] || { cat e >&2; hata "dolu standart cikti: cikis kodu $r"; }

# --- collecting takes without any codebook, then training them ---
mkdir bos
sox s8.wav e.wav s1.wav e.wav s1.wav e.wav s8.wav toplama.wav; gurultu toplama 0.003
rc 0 -d bos --girdi toplama.wav --kaydet al
[ "$(ls al)" = "$(printf '0001.wav\n0002.wav\n0003.wav')" ] || { ls al >&2; cat o e >&2; hata "kayitlar"; }
[ "$(cut -f3 o | paste -sd' ')" = "  " ] || hata "kural dosyasi olmadan soz yazildi"
for f in al/*.wav; do
  awk -v d="$(soxi -D "$f")" 'BEGIN { exit !(d > 1.0 && d < 2.2) }' || hata "$f suresi $(soxi -D "$f")"
done
rc 0 -d bos --girdi toplama.wav --kaydet al --sure 2
[ -e al/0004.wav ] && [ ! -e al/0005.wav ] || hata "numaralar surmedi"
"$TOPLU" egit -o k/evet2.vlm --soz evet --havuz al/*.wav > /dev/null || hata "toplanan kayitlarla egitim"

# --- the sound device: ALSA's file plugin, padded beyond what is read ---
"$SES" --alsa asound.conf in.raw played.raw
sox akis.wav "${HAM[@]}" in.raw pad 0 10
ALSA_CONFIG_PATH=$dizin/asound.conf rc 0 -d k --sure 8
[ "$(sozler)" = "evet hayır merhaba evet" ] || { cat o e >&2; hata "aygit: $(sozler)"; }
ALSA_CONFIG_PATH=$dizin/asound.conf rc 0 --aygitler
grep -q "default" o || hata "aygit listesi"
ALSA_CONFIG_PATH=$dizin/asound.conf rc 1 -d k --aygit boyleaygityok --sure 1
grep -q "boyleaygityok" e || hata "olmayan aygit"
# Ctrl-C stops cleanly (the file plugin repeats its data without end).
ALSA_CONFIG_PATH=$dizin/asound.conf timeout 60 "$DINLE" -d k >o 2>e &
p=$!; sleep 2; kill -INT $p; wait $p; r=$?
[ $r -eq 0 ] || { cat e >&2; hata "SIGINT cikis kodu $r"; }
ALSA_CONFIG_PATH=$dizin/asound.conf timeout 60 "$DINLE" -d k >o 2>e &
p=$!; sleep 2; kill -TERM $p; wait $p; r=$?
[ $r -eq 0 ] || { cat e >&2; hata "SIGTERM cikis kodu $r"; }

# --- bad input ---
mkdir bosdizin gecersiz
rc 1 -d bosdizin --girdi akis.wav; grep -q "kural dosyası" e || hata "bos dizin iletisi"
rc 1 -d yokdizin --girdi akis.wav; grep -q "yokdizin" e || hata "olmayan dizin"
echo "kural degil" > gecersiz/a.vlm; head -c 100 k/evet.vlm > gecersiz/yarim.vlm
rc 1 -d gecersiz --girdi akis.wav; grep -q "a.vlm" e && grep -q "yarim.vlm" e || { cat e >&2; hata "gecersiz dosyalar"; }
echo "ses degil" > metin.wav
rc 1 -d k --girdi metin.wav; grep -q "metin.wav" e || hata "ses olmayan dosya"
rc 1 -d k --girdi yok.wav
rc 1 -d k --girdi akis.wav --oo 16000; grep -q "16000 Hz" e || { cat e >&2; hata "oran iletisi"; }

# --- memory: the input is read as a stream, so twenty minutes take no more
# than one (the whole file in memory took about 150 MB more) ---
if [ -x /usr/bin/time ]; then
  for s in 60 1200; do
    sox -n -r 8000 -c 1 -b 16 g$s.wav synth $s whitenoise vol 0.002
    /usr/bin/time -f %M -o g$s.rss "$DINLE" -d k --girdi g$s.wav >/dev/null 2>e || { cat e >&2; hata "g$s.wav"; }
    rm -f g$s.wav
  done
  fark=$(( $(tail -n 1 g1200.rss) - $(tail -n 1 g60.rss) ))
  [ "$fark" -lt 10000 ] || hata "20 dakikalik girdi 1 dakikaliktan $fark kB fazla bellek tuttu"
fi
echo "tamam"
