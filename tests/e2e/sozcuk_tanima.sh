#!/usr/bin/env bash
# A person's journey in a real 80x50 terminal, with real speech through ALSA's
# file plugin: three Turkish words trained in the new-word menu and saved, then
# recognised from other takes; an existing word loaded and trained further;
# the settings menu; the file browser and the directory command; an empty
# directory in the recognition screen.
set -euo pipefail
VELMO=$1
SES="$(dirname "$0")/../audio/ses_hazirla.sh"
. "$(dirname "$0")/tmux_lib.sh"
dizin=$(mktemp -d); trap 'e2e_temizle; rm -rf "$dizin"' EXIT
mkdir "$dizin/bos"
"$SES" --alsa "$dizin/asound.conf" "$dizin/in.raw" "$dizin/played.raw"
konus() { "$SES" "$@" "$dizin/in.raw.yeni" 3 && mv "$dizin/in.raw.yeni" "$dizin/in.raw"; }

E2E_ENV=("ALSA_CONFIG_PATH=$dizin/asound.conf")
e2e_baslat "$dizin" "$VELMO"
e2e_bekle "ANA MENU"

# --- three new words ---
for kelime in evet hayır merhaba; do
  dosya=$(echo "$kelime" | sed 's/ı/i/g').vlm
  e2e_menu_komut 15 y
  e2e_bekle "YENI SOZCUK EGITME MENUSU"
  e2e_yerinde 15 4 "(3 s)"
  e2e_menu_komut 15 s; e2e_bekle "Sozcuk<"; e2e_komut "$kelime"
  e2e_bekle_satir 6 "$kelime"
  e2e_menu_komut 15 a; e2e_bekle "Dosya Adi<"; e2e_komut "$dosya"
  e2e_bekle_satir 7 "$dizin/$dosya"
  konus -g 0.003 "$kelime"
  e2e_menu_komut 15 k
  e2e_menu_komut 15 e
  e2e_bekle ">Egitme islemi tamamlandi"
  e2e_bekle "uzaklik:"
  e2e_satir 4 | grep -qF "(*)" && e2e_hata "kaydetmeden (*) var"
  e2e_menu_komut 15 r
  e2e_bekle_satir 4 "(*)"
  e2e_yerinde 59 4 "(*)"
  [ "$(stat -c %s "$dizin/$dosya")" = 688 ] || e2e_hata "$dosya 688 bayt degil"
  [ "$(wc -l < "$dizin/$dosya.txt")" = 176 ] || e2e_hata "$dosya.txt 176 satir degil"
  e2e_menu_komut 15 t
  e2e_bekle "ANA MENU"
done
# The word is kept in Windows-1254: "hayır" is five bytes in the file.
[ "$(head -c 13 "$dizin/hayir.vlm" | tail -c 5 | od -An -tx1 | tr -d ' ')" = 686179fd72 ] ||
  e2e_hata "hayir.vlm icinde sozcuk Windows-1254 degil"

# --- recognition from other takes ---
e2e_menu_komut 15 k
e2e_bekle "herhangi bir tusa bas ve konus"
for kelime in evet hayır merhaba; do
  konus -s 120 -p 65 -g 0.004 -b 0.5 "$kelime"
  e2e_imlec_bekle 2 15
  e2e_yaz x
  # The rows still show the previous take's result until this one's comes.
  e2e_bekle_satir 6 "$kelime"
  e2e_bekle_satir 8 ".vlm"
  e2e_yerinde 41 6 "$kelime"
  [ "$(e2e_renk 41 6)" = 93 ] || e2e_hata "sonuc sari degil"
  e2e_yerinde 41 8 "$(echo "$kelime" | sed 's/ı/i/g').vlm"
  e2e_satir 7 | cut -c41- | grep -qE '^[0-9]+\.[0-9]{6}$' || e2e_hata "puan yok"
  # Clear the result rows for the next take's check.
  e2e_yaz X   # any key but t starts a cycle; the same take again
  e2e_bekle_satir 8 ".vlm"
done
# Every message row under the command line reads whole: nothing older shows
# beyond a shorter line or through the tabs of a score line.
e2e_ekran | sed -n '15,50p' | sed 's/ *$//' |
  grep -vxE -e '' -e ">[xX]?|>Taranan dizin: $dizin|Konuşun \(2 s\)…|Kayıt bitti\. Tepe düzeyi: -[0-9.]+ dBFS|(evet|hayır|merhaba) +uzaklik:[0-9]+\.[0-9]{6}" &&
  e2e_hata "eski yazi yeni satirlarin altinda kaldi"
e2e_yaz t
e2e_bekle "ANA MENU"

# --- existing word: load, see its settings, train again with a new take ---
e2e_menu_komut 15 e
e2e_bekle "ESKI SOZCUK EGITME MENUSU"
e2e_yerinde 40 4 "egit  "
e2e_menu_komut 15 a; e2e_bekle "Dosya Adi<"; e2e_komut "evet.vlm"
e2e_bekle "AYARLAR MENUSU $dizin/evet.vlm"
e2e_bekle "Devam Etmek Icin Bir Tusa Basin..."
e2e_yerinde 41 6 "LPC kural kitabi"
e2e_yaz " "
e2e_bekle "ESKI SOZCUK EGITME MENUSU"
e2e_bekle_satir 6 "evet"
e2e_yerinde 59 4 "(*)"
once=$(md5sum < "$dizin/evet.vlm")
konus -s 170 -g 0.003 evet
e2e_menu_komut 15 k
e2e_menu_komut 15 e
e2e_bekle ">Kural kitabi sifirlandi"
e2e_bekle ">Egitme islemi tamamlandi"
e2e_menu_komut 15 r
e2e_imlec_bekle 2 15
[ "$(md5sum < "$dizin/evet.vlm")" != "$once" ] || e2e_hata "evet.vlm yeniden egitilmedi"
# A file that does not exist clears the word and the file, keeps the directory.
e2e_menu_komut 15 a; e2e_bekle "Dosya Adi<"; e2e_komut "yok.vlm"
e2e_imlec_bekle 2 15
[ -z "$(e2e_satir 6 | cut -c41- | tr -d " ")" ] || e2e_hata "sozcuk silinmedi"
e2e_yerinde 41 8 "$dizin"
e2e_menu_komut 15 t
e2e_bekle "ANA MENU"

# --- settings menu ---
e2e_menu_komut 15 a
e2e_bekle "AYARLAR MENUSU"
e2e_menu_komut 40 u; e2e_bekle "Uzaklik Siniri<"; e2e_komut "0,5"
e2e_bekle_satir 30 "0.500000"
e2e_menu_komut 40 k; e2e_bekle "Kayit Suresi<"; e2e_komut "5x"
e2e_imlec_bekle 2 40
e2e_deger 41 12 "3 s"
e2e_menu_komut 40 o; e2e_bekle "Ornekleme Orani<"; e2e_komut "abc"
e2e_imlec_bekle 2 40
e2e_yerinde 41 10 "12000"
e2e_menu_komut 40 g
e2e_imlec_bekle 2 40
e2e_yerinde 41 30 "0.000001"
e2e_deger 41 12 "3 s"
e2e_menu_komut 40 t
e2e_bekle "ANA MENU"

# --- file browser and directory command in the new-word menu ---
e2e_menu_komut 15 y
e2e_bekle "YENI SOZCUK EGITME MENUSU"
e2e_menu_komut 15 b; e2e_bekle "Bicim * ? <"; e2e_komut "*.vlm"
e2e_bekle " [*.vlm] Dosya Dizelgesi"
e2e_bekle " merhaba.vlm"
e2e_ekran | grep -q " evet.vlm.txt" && e2e_hata "desen disi dosya listelendi"
e2e_menu_komut 15 b; e2e_bekle "Bicim * ? <"; e2e_komut " "
e2e_bekle " [ ] Dosya Dizelgesi"
e2e_bekle " evet.vlm.txt"
e2e_menu_komut 15 y; e2e_bekle "Dosya Yolu<"; e2e_komut "$dizin/yok"
e2e_imlec_bekle 2 15
e2e_deger 41 8 "$dizin"
e2e_menu_komut 15 y; e2e_bekle "Dosya Yolu<"; e2e_komut "$dizin/bos"
e2e_bekle_satir 8 "$dizin/bos"
e2e_menu_komut 15 t
e2e_bekle "ANA MENU"

# --- an empty directory recognises nothing ---
e2e_menu_komut 15 k
e2e_bekle "herhangi bir tusa bas ve konus"
e2e_imlec_bekle 2 15
e2e_yaz x
e2e_bekle "Bu dizinde kural dosyası (.vlm) yok."
e2e_bekle "Taranan dizin: $dizin/bos"
[ -z "$(e2e_satir 7 | cut -c41- | tr -d ' ')" ] || e2e_hata "bos dizinde puan gosterildi"
[ -z "$(e2e_satir 6 | cut -c41- | tr -d ' ')" ] || e2e_hata "bos dizinde sozcuk gosterildi"
[ -z "$(e2e_satir 8 | cut -c41- | tr -d ' ')" ] || e2e_hata "bos dizinde dosya gosterildi"
e2e_yaz t
e2e_bekle "ANA MENU"
e2e_menu_komut 15 t
[ "$(e2e_bitis_bekle 5)" = 0 ] || e2e_hata "cikis kodu sifir degil"
echo tamam
