#!/usr/bin/env bash
# What a person at the microphone is told, in a real 80x50 terminal with real
# speech through ALSA's file plugin: when to speak and how many seconds are
# left, how loud the take was and when it is too weak; what a training made;
# where recognition looks and when a take held no speech; which typed
# settings are refused, and the units beside the values.
set -euo pipefail
VELMO=$1
SES="$(dirname "$0")/../audio/ses_hazirla.sh"
. "$(dirname "$0")/tmux_lib.sh"
dizin=$(mktemp -d); trap 'e2e_temizle; rm -rf "$dizin"' EXIT
"$SES" --alsa "$dizin/asound.conf" "$dizin/in.raw" "$dizin/played.raw"
konus() { "$SES" "$@" "$dizin/in.raw.yeni" 8 && mv "$dizin/in.raw.yeni" "$dizin/in.raw"; }

E2E_ENV=("ALSA_CONFIG_PATH=$dizin/asound.conf")
e2e_baslat "$dizin" "$VELMO"
e2e_bekle "ANA MENU"
# --- when to speak, the seconds left, the level ---
e2e_menu_komut 15 y
e2e_bekle "YENI SOZCUK EGITME MENUSU"
e2e_menu_komut 15 s; e2e_bekle "Sozcuk<"; e2e_komut "evet"
e2e_menu_komut 15 a; e2e_bekle "Dosya Adi<"; e2e_komut "evet.vlm"
# Training before speaking asks for a take.
e2e_menu_komut 15 e
e2e_bekle "Önce konuşun (k)."
konus -g 0.003 evet
e2e_menu_komut 15 k
e2e_bekle "Konuşun (3 s)…"
e2e_bekle "Kayıt bitti. Tepe düzeyi: -" 15
# The seconds left, counted behind the prompt while the device listens, are
# gone once it is done.
e2e_ekran | grep -q "kaldı" && e2e_hata "kalan saniye silinmedi"
e2e_ekran | grep -qE "Kayıt bitti\. Tepe düzeyi: -[0-9]\.[0-9] dBFS$" || e2e_hata "tepe duzeyi yok"
e2e_ekran | grep -q "zayıf" && e2e_hata "guclu kayit zayif sayildi"
# The take's lines stay right below the command line, in order.
e2e_imlec_bekle 2 15
[ "$(e2e_satir 16)" = ">Konuşun (3 s)…" ] || e2e_hata "satir 16: '$(e2e_satir 16)'"
e2e_satir 17 | grep -q "^Kayıt bitti" || e2e_hata "satir 17: '$(e2e_satir 17)'"

# --- what a training gave: codewords, frames, score; then a refinement ---
e2e_menu_komut 15 e
e2e_bekle "10 kural yöneyi "
e2e_ekran | grep -qE "^10 kural yöneyi [0-9]+ çerçeveden eğitildi; uzaklik:[0-9]+\.[0-9]{6}$" ||
  e2e_hata "egitim ozeti yok"
e2e_ekran | grep -q "geliştiriliyor" && e2e_hata "yeni kural kitabi gelistirme sayildi"
e2e_menu_komut 15 r
e2e_bekle_satir 4 "(*)"
e2e_menu_komut 15 e
e2e_bekle "Kayıtlı kural kitabı geliştiriliyor."
e2e_bekle " çerçeveden eğitildi; uzaklik:"

# --- a weak take: far too quiet, no noise ---
konus -g 0 -l -50 evet
e2e_menu_komut 15 k
e2e_bekle "Ses çok zayıf: mikrofonu denetleyin." 15
e2e_ekran | grep -qE "Tepe düzeyi: -5[0-9]\.[0-9] dBFS" || e2e_hata "zayif kaydin duzeyi yok"
e2e_menu_komut 15 t
e2e_bekle "ANA MENU"

# --- recognition: the directory scanned, and a take with no speech in it ---
e2e_menu_komut 15 k
e2e_bekle "herhangi bir tusa bas ve konus"
konus -g 0.002 -
e2e_imlec_bekle 2 15
sleep 0.2
e2e_yaz x
e2e_bekle "Kayıtta konuşma bulunamadı; sözcük gösterilmiyor." 15
e2e_bekle "Taranan dizin: $dizin"
[ -z "$(e2e_satir 6 | cut -c41- | tr -d ' ')" ] || e2e_hata "konusmasiz kayitta sozcuk gosterildi"
[ -z "$(e2e_satir 7 | cut -c41- | tr -d ' ')" ] || e2e_hata "konusmasiz kayitta puan gosterildi"
e2e_imlec_bekle 2 15
e2e_yaz t
e2e_bekle "ANA MENU"

# --- settings refused where they are typed; units beside the values ---
e2e_menu_komut 15 a
e2e_bekle "AYARLAR MENUSU"
e2e_imlec_bekle 2 40
e2e_deger 41 10 "12000 Hz"
e2e_deger 41 12 "3 s"
e2e_deger 41 21 "20 ms"
e2e_menu_komut 40 o; e2e_bekle "Ornekleme Orani<"; e2e_komut "500"
e2e_bekle "Örnekleme Oranı 1000–192000 Hz olmalı; değişmedi."
e2e_imlec_bekle 2 40
e2e_deger 41 10 "12000 Hz"
e2e_menu_komut 40 y; e2e_bekle "Yuksek Orke Esigi<"; e2e_komut "150"
e2e_bekle "Yüksek Örke Eşiği, Alçak Örke Eşiği'nden (200) küçük olamaz; değişmedi."
e2e_imlec_bekle 2 40
e2e_deger 41 16 375
e2e_menu_komut 40 k; e2e_bekle "Kayit Suresi<"; e2e_komut "uc"
e2e_bekle "Kayıt Süresi bir sayı olmalı; değişmedi."
e2e_menu_komut 40 k; e2e_bekle "Kayit Suresi<"; e2e_komut "2"
e2e_imlec_bekle 2 40
e2e_deger 41 12 "2 s"
e2e_menu_komut 40 t
e2e_bekle "ANA MENU"
e2e_menu_komut 15 t
[ "$(e2e_bitis_bekle 5)" = 0 ] || e2e_hata "cikis kodu sifir degil"
echo tamam
