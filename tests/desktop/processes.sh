# Sourced by the desktop tests once they have made their folder $work: the processes a test starts,
# all ended when it exits (the program first, then the others in the reverse order of their start),
# and how a test fails (with what the program wrote, in $work/program.log).
pids=() # ended last, in reverse order
app=""  # the running program
cleanup() {
  local i
  [ -z "$app" ] || kill "$app" 2>/dev/null || true
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do wait "${pids[i]}" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  [ -s "$work/program.log" ] && sed 's/^/program: /' "$work/program.log" >&2
  exit 1
}
