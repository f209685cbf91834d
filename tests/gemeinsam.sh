# Shared by the end-to-end scripts (sourced). pruefe NAME COMMAND... runs one
# check and prints it; a failed check makes the script's exit code 1.
fehler=0
pruefe() {
  local name=$1; shift
  if "$@"; then echo "ok   $name"; else echo "FAIL $name"; fehler=1; fi
}

# pruefe_gleich NAME GOT WANTED: the check that two values are equal; a
# failure shows both, a text of several lines as a diff (wanted first).
pruefe_gleich() {
  local name=$1 ist=$2 soll=$3
  if [ "$ist" = "$soll" ]; then
    echo "ok   $name"
    return
  fi
  echo "FAIL $name"
  fehler=1
  if [ "$(printf '%s\n' "$ist" "$soll" | wc -l)" -gt 2 ]; then
    diff -u --label wanted --label got <(printf '%s\n' "$soll") <(printf '%s\n' "$ist") | sed 's/^/     /'
  else
    printf '     wanted: %s\n     got:    %s\n' "$soll" "$ist"
  fi
}

# Runs the calling script again under a virtual X server of its own, of
# screen XVFB_BILDSCHIRM (default 1280x1024x24) and with the further
# options XVFB_OPTIONEN, and ends with its exit code. Xvfb picks a free display number itself (-displayfd), so tests that
# run side by side never share or race for a server; only that server is
# stopped. -noreset: a server that resets when its last client leaves (the
# readiness probe) refuses connections for a moment, long enough on a busy
# machine for the program to find no display. Inside, goes on only when the
# server answers, and SDL must use it (no silent fallback to offscreen).
im_xvfb() {
  if [ -z "${IN_XVFB:-}" ]; then
    local nummer_datei nummer="" pid code
    nummer_datei=$(mktemp)
    # shellcheck disable=SC2086
    Xvfb -displayfd 3 -screen 0 "${XVFB_BILDSCHIRM:-1280x1024x24}" -nolisten tcp -noreset \
      ${XVFB_OPTIONEN:-} 3>"$nummer_datei" >/dev/null 2>&1 &
    pid=$!
    for _ in $(seq 1 200); do
      [ "$(wc -l <"$nummer_datei")" -ge 1 ] && nummer=$(head -n1 "$nummer_datei") && break
      kill -0 $pid 2>/dev/null || break
      sleep 0.1
    done
    rm -f "$nummer_datei"
    if [ -z "$nummer" ]; then
      echo "FAIL Xvfb started"
      kill $pid 2>/dev/null
      exit 1
    fi
    IN_XVFB=1 DISPLAY=":$nummer" bash "$0" "$@"
    code=$?
    kill $pid 2>/dev/null
    wait $pid 2>/dev/null
    exit $code
  fi
  unset XAUTHORITY
  export SDL_VIDEODRIVER=x11
  for _ in $(seq 1 100); do
    xdpyinfo >/dev/null 2>&1 && return
    sleep 0.1
  done
  echo "FAIL X server $DISPLAY answers"
  exit 1
}

# Prints the id of the program's visible window once it shows, waiting up
# to $2 seconds (30 unless given); when it never shows, prints nothing and
# shows the program's standard error (file $1) on ours.
fenster_suchen() {
  local fenster=""
  for _ in $(seq 1 $((${2:-30} * 10))); do
    fenster=$(xdotool search --onlyvisible --name "^Borkwerk03 - Fenster$" 2>/dev/null | head -n1)
    [ -n "$fenster" ] && break
    sleep 0.1
  done
  [ -n "$fenster" ] || sed 's/^/  program: /' "$1" >&2
  echo "$fenster"
}

# Unsigned little-endian 32-bit word of file $1 at byte offset $2.
wort() {
  od -An -tu4 --endian=little -j "$2" -N4 "$1" | tr -d ' '
}

# Fails the test at once, naming what is missing, unless every command exists.
werkzeuge_pruefen() {
  local werkzeug
  for werkzeug in "$@"; do
    if ! command -v "$werkzeug" >/dev/null; then
      echo "FAIL '$werkzeug' is missing (make test installs what the tests need)"
      exit 1
    fi
  done
}

# A fresh Wine prefix in $1/prefix, without the Mono and Gecko questions and
# without menu entries in the user's home; the server's socket directory
# (under TMPDIR) stays in $1 too. Exports what the wine commands that follow
# need; 1 when the prefix could not be made.
wine_vorbereiten() {
  export WINEPREFIX="$1/prefix" WINEDEBUG=-all TMPDIR="$1"
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  local t=$SECONDS code
  timeout 180 wineboot -i >"$1/wineboot.log" 2>&1
  code=$?
  timeout 60 wineserver -w
  echo "     wine prefix made in $((SECONDS - t)) s"
  pruefe "wine prefix made (wineboot exit $code)" test $code -eq 0
  [ $code -eq 0 ] || sed 's/^/  wineboot: /' "$1/wineboot.log"
  return $code
}

# Ends the server of the prefix in $1 and every process it runs, and
# nothing of any other prefix.
wine_beenden() {
  [ -d "$1/prefix" ] && WINEPREFIX="$1/prefix" timeout 60 wineserver -k 2>/dev/null
  return 0
}

laeuft() { kill -0 "$1" 2>/dev/null; }
beendet() { ! laeuft "$1"; }

# Runs the command again and again, 0.2 s apart, until it succeeds (0), or
# $1 seconds have passed or the program (process $pid, once the caller has
# started it) has ended without it (1).
warte_bis() {
  local ende=$((SECONDS + $1))
  shift
  until "$@"; do
    [ $SECONDS -ge $ende ] && return 1
    [ -n "${pid:-}" ] && beendet "$pid" && return 1
    sleep 0.2
  done
}
