# Shared by the end-to-end scripts (sourced). pruefe NAME COMMAND... runs one
# check and prints it; a failed check makes the script's exit code 1.
fehler=0
pruefe() {
  local name=$1; shift
  if "$@"; then echo "ok   $name"; else echo "FAIL $name"; fehler=1; fi
}

# Runs the calling script again under a virtual X server, once.
im_xvfb() {
  if [ -z "${IN_XVFB:-}" ]; then
    IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
  fi
}
