#!/usr/bin/env bash
# Every text a catalogue translates is still a text of the sources: a
# message or help text changed in the sources but not in po/LANG.po would
# silently come out in Turkish again. Names the entries whose text is gone.
#   katalog_guncel.sh SOURCE_DIR
set -uo pipefail
kaynak=$1
hata() { echo "HATA: $*" >&2; exit 1; }
dizin=$(mktemp -d); trap 'rm -rf "$dizin"' EXIT

# Every string of the sources (adjacent literals joined), as message ids.
(cd "$kaynak" && ls mesaj/*.[ch]* settings/*.[ch]* ui/*.[ch]* audio/*.[ch]* dsp/*.[ch]* vq/*.[ch]* \
   files/*.[ch]* tarama/*.[ch]* oran/*.[ch]* app/*.[ch]* tools/*.[ch]* dinle/*.[ch]* kitaplik/*.[ch]* \
   2>/dev/null) >"$dizin/dosyalar"
(cd "$kaynak" && xgettext -a --from-code=UTF-8 -L C++ -f "$dizin/dosyalar" -o "$dizin/kaynak.pot" 2>/dev/null) ||
  hata "xgettext basarisiz"
for po in "$kaynak"/po/*.po; do
  msgmerge --quiet --no-fuzzy-matching "$po" "$dizin/kaynak.pot" -o "$dizin/birlesik.po" 2>"$dizin/hata" ||
    hata "$po okunamadi: $(cat "$dizin/hata")"
  eski=$(msgattrib --only-obsolete --no-wrap "$dizin/birlesik.po")
  [ -z "$eski" ] || hata "$po kaynaklarda artik olmayan metinleri ceviriyor:
$(grep '^#~ msgid' <<<"$eski")"
done
echo tamam
