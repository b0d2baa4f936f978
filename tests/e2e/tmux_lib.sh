# Helpers for end-to-end tests that drive the real program in tmux, as a person
# at an 80x50 terminal would. Source this file, then:
#   e2e_baslat DIR CMD...     start CMD in DIR in a fresh 80x50 pane (LANG=C.UTF-8;
#                             E2E_GENISLIK / E2E_YUKSEKLIK give another size);
#                             extra environment: set E2E_ENV=(VAR=value ...) before
#   e2e_bekle TEXT [SECONDS]  wait until TEXT is on the screen (fails the test if not)
#   e2e_bekle_satir ROW TEXT [SECONDS]   wait until row ROW contains TEXT
#   e2e_yaz TEXT              type TEXT literally;  e2e_enter: press Enter
#   e2e_komut TEXT            type TEXT and Enter
#   e2e_ekran                 print the screen;  e2e_satir ROW: print one row
#   e2e_yerinde COL ROW TEXT  assert TEXT starts at column COL of row ROW
#   e2e_deger COL ROW TEXT    assert the row from COL on is exactly TEXT (trailing blanks aside)
#   e2e_renk COL ROW          print the SGR colour code in force at (COL, ROW)
#   e2e_bitis_bekle [SECONDS] wait for the program to end, print its exit status
#   e2e_hata MESSAGE          fail the test (prints the screen)
# A test's tmux server is its own (one socket per test) and is killed on exit.

E2E_SOKET="velmo-e2e-$$-$RANDOM"
E2E_TMUX=(tmux -L "$E2E_SOKET" -f /dev/null)
E2E_DURUM=$(mktemp -u /tmp/velmo-e2e-durum.XXXXXX)
E2E_ENV=(${E2E_ENV[@]+"${E2E_ENV[@]}"})

e2e_temizle() { "${E2E_TMUX[@]}" kill-server >/dev/null 2>&1 || true; rm -f "$E2E_DURUM"; }
trap e2e_temizle EXIT

e2e_hata() {
  echo "HATA: $*" >&2
  echo "---- ekran ----" >&2
  e2e_ekran >&2 || true
  echo "---------------" >&2
  exit 1
}

e2e_baslat() {
  local dizin=$1; shift
  local komut
  printf -v komut '%q ' "$@"
  local ortam=""
  local v
  for v in ${E2E_ENV[@]+"${E2E_ENV[@]}"}; do printf -v ortam '%s%q ' "$ortam" "$v"; done
  "${E2E_TMUX[@]}" new-session -d -s e2e -x "${E2E_GENISLIK:-80}" -y "${E2E_YUKSEKLIK:-50}" -c "$dizin" \
      "sleep 0.2; env LANG=C.UTF-8 LC_ALL=C.UTF-8 TERM=screen $ortam $komut; echo \$? > $E2E_DURUM"
  "${E2E_TMUX[@]}" set-option -t e2e remain-on-exit on >/dev/null
  "${E2E_TMUX[@]}" resize-window -t e2e -x "${E2E_GENISLIK:-80}" -y "${E2E_YUKSEKLIK:-50}" >/dev/null 2>&1 || true
}

e2e_ekran() { "${E2E_TMUX[@]}" capture-pane -p -t e2e; }
e2e_satir() { e2e_ekran | sed -n "${1}p"; }

e2e_bekle() {
  local metin=$1 sure=${2:-10} i
  for ((i = 0; i < sure * 20; i++)); do
    e2e_ekran | grep -F -- "$metin" >/dev/null && return 0
    sleep 0.05
  done
  e2e_hata "ekranda yok: '$metin'"
}

e2e_bekle_satir() {
  local satir=$1 metin=$2 sure=${3:-10} i
  for ((i = 0; i < sure * 20; i++)); do
    e2e_satir "$satir" | grep -F -- "$metin" >/dev/null && return 0
    sleep 0.05
  done
  e2e_hata "satir $satir icinde yok: '$metin'"
}

e2e_yaz() { "${E2E_TMUX[@]}" send-keys -t e2e -l -- "$1"; }
e2e_enter() { "${E2E_TMUX[@]}" send-keys -t e2e Enter; }

# Cursor position, 1-based "COLUMN ROW".
e2e_imlec() {
  local k
  k=$("${E2E_TMUX[@]}" display-message -p -t e2e '#{cursor_x} #{cursor_y}')
  echo "$(( ${k% *} + 1 )) $(( ${k#* } + 1 ))"
}

e2e_imlec_bekle() {
  local hedef="$1 $2" sure=${3:-10} i
  for ((i = 0; i < sure * 20; i++)); do
    [ "$(e2e_imlec)" = "$hedef" ] && return 0
    sleep 0.05
  done
  e2e_hata "imlec $hedef konumuna gelmedi ($(e2e_imlec))"
}

# Types a line as a person does: the text, seen echoed, then Enter, seen
# taken. Wait for the next prompt before typing again: keys typed ahead are
# kept, but a check of the screen needs the step it looks at drawn.
e2e_komut() {
  local metin=$1 bas x y i
  bas=$(e2e_imlec)
  x=${bas% *}; y=${bas#* }
  if [ -n "$metin" ]; then
    e2e_yaz "$metin"
    local uz
    uz=$(printf '%s' "$metin" | wc -m)
    for ((i = 0; i < 100; i++)); do
      [ "$(e2e_imlec)" = "$((x + uz)) $y" ] && break
      sleep 0.05
    done
    x=$((x + uz))
  fi
  e2e_enter
  for ((i = 0; i < 100; i++)); do
    [ "$(e2e_imlec)" != "$x $y" ] && break
    sleep 0.05
  done
  sleep 0.1
}

# Waits for the menu's fresh command line (the cursor at column 2 of ROW),
# then types KEYS as e2e_komut does.
e2e_menu_komut() {
  e2e_imlec_bekle 2 "$1"
  sleep 0.2
  e2e_komut "$2"
}

e2e_yerinde() {
  local sutun=$1 satir=$2 metin=$3
  local s
  s=$(e2e_satir "$satir")
  [ "${s:$((sutun - 1)):${#metin}}" = "$metin" ] ||
    e2e_hata "($sutun, $satir) konumunda '$metin' yok: '$s'"
}

# Asserts that the row from column COL on (trailing blanks dropped) is TEXT.
e2e_deger() {
  local sutun=$1 satir=$2 metin=$3 s
  s=$(e2e_satir "$satir" | cut -c"$sutun"- | sed 's/ *$//')
  [ "$s" = "$metin" ] || e2e_hata "($sutun, $satir): '$metin' beklendi, '$s' var"
}

# Colour of the cell: replays the row with its SGR codes and reports the last
# foreground code set before the cell's character.
e2e_renk() {
  local sutun=$1 satir=$2
  "${E2E_TMUX[@]}" capture-pane -p -e -t e2e | sed -n "${satir}p" |
    awk -v hedef="$sutun" '{
      renk = "varsayilan"; s = $0; kol = 0
      while (length(s) > 0) {
        if (substr(s, 1, 2) == "\033[") {
          m = match(s, /^\033\[[0-9;]*m/)
          if (m) {
            kod = substr(s, 3, RLENGTH - 3); n = split(kod, p, ";")
            for (i = 1; i <= n; i++) {
              if (p[i] == "" || p[i] == "0" || p[i] == "39") renk = "varsayilan"
              else if ((p[i] >= 30 && p[i] <= 37) || (p[i] >= 90 && p[i] <= 97)) renk = p[i]
              else if (p[i] == "38" && p[i+1] == "5") { renk = "256:" p[i+2]; i += 2 }
            }
            s = substr(s, RLENGTH + 1); continue
          }
        }
        c = substr(s, 1, 1)
        if (c ~ /[\200-\277]/) { s = substr(s, 2); continue }
        kol++
        if (kol == hedef) { print renk; exit }
        s = substr(s, 2)
      }
      print renk }'
}

# The exit status is written by the pane's shell when the program ends.
e2e_bitis_bekle() {
  local sure=${1:-10} i
  for ((i = 0; i < sure * 20; i++)); do
    if [ -s "$E2E_DURUM" ]; then
      cat "$E2E_DURUM"
      return 0
    fi
    sleep 0.05
  done
  e2e_hata "program bitmedi"
}
