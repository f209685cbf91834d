# Shared by the end-to-end scripts (sourced). pruefe NAME COMMAND... runs one
# check and prints it; a failed check makes the script's exit code 1.
fehler=0
pruefe() {
  local name=$1; shift
  if "$@"; then echo "ok   $name"; else echo "FAIL $name"; fehler=1; fi
}

# Runs the calling script again under a virtual X server, once, and goes
# on only when that server answers.
im_xvfb() {
  if [ -z "${IN_XVFB:-}" ]; then
    IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
  fi
  for _ in $(seq 1 100); do
    xdpyinfo >/dev/null 2>&1 && return
    sleep 0.1
  done
  echo "FAIL X server $DISPLAY answers"
  exit 1
}

# Prints the id of the program's visible window once it shows, waiting up
# to 10 s; when it never shows, prints nothing and shows the program's
# standard error (file $1) on ours.
fenster_suchen() {
  local fenster=""
  for _ in $(seq 1 100); do
    fenster=$(xdotool search --onlyvisible --name "^Borkwerk03 - Fenster$" 2>/dev/null | head -n1)
    [ -n "$fenster" ] && break
    sleep 0.1
  done
  [ -n "$fenster" ] || sed 's/^/  program: /' "$1" >&2
  echo "$fenster"
}
