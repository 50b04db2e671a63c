#!/usr/bin/env bash
# The real program on a real X server (Xvfb) under a real window manager: where the windows' frames
# stand, as the X server reports them, over starts, moves and closes, and what the dialogs ask the
# manager for.
#   desktop.sh QUILLMARK CASE [WM]     WM: openbox (the default), metacity or none
# Each run has its own display, runtime and config folders, and ends every process it started.
# Exits 77 (skipped) when the X tools are missing.
set -euo pipefail

program=$1
case_name=$2
wm=${3:-openbox}
screen_w=1280
screen_h=800

for tool in Xvfb xdotool xwininfo xprop; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is missing"; exit 77; }
done
[ "$wm" = none ] || command -v "$wm" >/dev/null || { echo "skipped: $wm is missing"; exit 77; }

work=$(mktemp -d)
# shellcheck source=tests/desktop/processes.sh
. "$(dirname "$0")/processes.sh"

# A display number nobody uses: the X server picks it and tells it through a pipe.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 "${screen_w}x${screen_h}x24" -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -n 1 "$work/display")"
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM
export QT_QPA_PLATFORM=xcb
store=$XDG_CONFIG_HOME/Quillmark/registry.reg

if [ "$wm" != none ]; then
  "$wm" >"$work/wm.log" 2>&1 &
  pids+=($!)
  # The manager is ready once it has claimed the screen.
  for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break; sleep 0.1; done
fi

# Polls a command until it succeeds, for at most $1 seconds.
until_true() {
  local limit=$1
  shift
  local end=$((SECONDS + limit))
  until "$@"; do
    [ $SECONDS -lt $end ] || return 1
    sleep 0.1
  done
}

# The visible window of the given title and window type (NORMAL or DIALOG).
window_of() {
  local title=$1 type=$2 id
  for id in $(xdotool search --onlyvisible --name "$title" 2>/dev/null); do
    if xprop -id "$id" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q "_NET_WM_WINDOW_TYPE_$type"; then
      echo "$id"
      return 0
    fi
  done
  return 1
}
wait_window() {
  local id
  until_true 15 window_of "$1" "$2" >/dev/null || fail "no window '$1' ($2) appeared"
  id=$(window_of "$1" "$2")
  # Settled: the manager has framed it (or, without one, it is mapped) and it stays put.
  local last="" now
  for _ in $(seq 30); do
    now=$(frame "$id")
    [ "$now" = "$last" ] && break
    last=$now
    sleep 0.2
  done
  echo "$id"
}

# The outer frame as the X server has it: "left top width height". Where the manager publishes the
# frame's extents, the window plus those: some managers' frame windows reach past the visible frame
# (metacity's invisible resize borders). Otherwise the window's top-level ancestor (the manager's
# frame window, or the window itself without a manager), its X border included.
frame() {
  local id=$1 info root parent extents l r t b
  extents=$(xprop -id "$id" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= //p' | tr -d ' ')
  if [ -n "$extents" ]; then
    IFS=, read -r l r t b <<<"$extents"
  else
    root=$(xwininfo -root | sed -n 's/.*Window id: \(0x[0-9a-f]*\).*/\1/p')
    while :; do
      parent=$(xwininfo -children -id "$id" | sed -n 's/.*Parent window id: \(0x[0-9a-f]*\).*/\1/p')
      [ -n "$parent" ] || return 1 # gone
      [ "$parent" = "$root" ] && break
      id=$parent
    done
    l=0 r=0 t=0 b=0
  fi
  info=$(xwininfo -id "$id") || return 1
  local x y w h bw # xwininfo's upper-left corner is the border's
  x=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")
  y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
  w=$(sed -n 's/.*Width: *//p' <<<"$info")
  h=$(sed -n 's/.*Height: *//p' <<<"$info")
  bw=$(sed -n 's/.*Border width: *//p' <<<"$info")
  echo "$((x - l)) $((y - t)) $((w + 2 * bw + l + r)) $((h + 2 * bw + t + b))"
}

activate() {
  if [ "$wm" = none ]; then
    xdotool windowfocus --sync "$1"
  else # through the manager, or directly where it knows no activation
    xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowfocus --sync "$1"
  fi
  sleep 0.3
}

start() {
  "$program" >>"$work/program.log" 2>&1 &
  app=$!
}

# Closes the main window through File > Exit and waits for the program to end.
exit_program() {
  activate "$1"
  xdotool key alt+f
  sleep 0.3
  xdotool key x
  until_true 10 bash -c "! kill -0 $app 2>/dev/null" || fail "the program did not end"
  app=""
}

# Drags a window by its title bar with the mouse, as a user moves it through the window manager.
drag() {
  local id=$1 dx=$2 dy=$3 x y w h
  read -r x y w h <<<"$(frame "$id")"
  local gx=$((x + w / 2)) gy=$((y + 8))
  xdotool mousemove "$gx" "$gy" mousedown 1
  for step in 1 2 3 4 5; do
    xdotool mousemove $((gx + dx * step / 5)) $((gy + dy * step / 5))
    sleep 0.05
  done
  xdotool mouseup 1
  sleep 0.5
}

stored() { # the stored value of "top" or "left", as a signed number
  local hex
  hex=$(sed -n "s/^\"$1\"=dword://p" "$store" | tr -d '\r')
  [ -n "$hex" ] || fail "no \"$1\" stored"
  echo $((0x$hex >= 0x80000000 ? 0x$hex - 0x100000000 : 0x$hex))
}

store_values() { # writes the position key with the given value lines
  mkdir -p "$(dirname "$store")"
  {
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Tamsworth\\Lettrix\\Setup]\r\n'
    for line in "$@"; do printf '%s\r\n' "$line"; done
  } >"$store"
}

expect_at() { # expect_at WHAT ID LEFT TOP
  local x y w h
  read -r x y w h <<<"$(frame "$2")"
  [ "$x $y" = "$3 $4" ] || fail "$1: frame at $x,$y, expected $3,$4"
  echo "ok: $1: frame at $x,$y"
}

main_window() { wait_window '^Quillmark$' NORMAL; }

# What a window asks the manager for in its Motif hints, and (with "allowed") which actions the manager
# then offers for it. Each word is a bit that must be set, or with a leading "!" clear.
motif_bit() {
  case $1 in
  all) echo 1 ;; resize) echo 2 ;; move) echo 4 ;; minimize) echo 8 ;; maximize) echo 16 ;; close) echo 32 ;;
  border) echo 2 ;; title) echo 8 ;; menu) echo 16 ;; minbox) echo 32 ;; maxbox) echo 64 ;;
  esac
}
expect_hints() { # expect_hints WHAT ID FUNCTIONS DECORATIONS [ALLOWED]
  local what=$1 id=$2 field=1 words word value hints
  hints=$(xprop -id "$id" _MOTIF_WM_HINTS | sed -n 's/.*= //p' | tr -d ' ')
  IFS=, read -r -a hints <<<"$hints"
  [ $((hints[0] & 3)) = 3 ] || fail "$what: _MOTIF_WM_HINTS ${hints[*]} leaves functions or decorations to the manager"
  for words in "$3" "$4"; do
    value=${hints[$field]}
    for word in $words; do
      if [ "${word#!}" = "$word" ]; then
        [ $((value & $(motif_bit "$word"))) != 0 ] || fail "$what: no $word in _MOTIF_WM_HINTS ${hints[*]}"
      else
        [ $((value & $(motif_bit "${word#!}"))) = 0 ] || fail "$what: ${word#!} in _MOTIF_WM_HINTS ${hints[*]}"
      fi
    done
    field=2
  done
  echo "ok: $what: _MOTIF_WM_HINTS ${hints[*]}"
  [ -n "${5:-}" ] || return 0
  local allowed
  allowed=$(xprop -id "$id" _NET_WM_ALLOWED_ACTIONS)
  for word in $5; do
    if [ "${word#!}" = "$word" ]; then
      grep -q "_NET_WM_ACTION_$word\b" <<<"$allowed" || fail "$what: the manager does not offer $word: $allowed"
    else
      ! grep -q "_NET_WM_ACTION_${word#!}\b" <<<"$allowed" || fail "$what: the manager offers ${word#!}: $allowed"
    fi
  done
  echo "ok: $what: $allowed"
}

case $case_name in
first-run-and-reopen)
  # First run: top 0, the frame flush with the right edge; then three unmoved cycles, no creep.
  start
  id=$(main_window)
  read -r x y w h <<<"$(frame "$id")"
  expect_at "first run" "$id" $((screen_w - w)) 0
  for cycle in 1 2 3; do
    exit_program "$id"
    [ "$(stored left) $(stored top)" = "$x $y" ] || fail "cycle $cycle stored $(stored left),$(stored top)"
    start
    id=$(main_window)
    expect_at "reopened unmoved, cycle $cycle" "$id" "$x" "$y"
  done
  ;;
moved-and-maximised)
  start
  id=$(main_window)
  drag "$id" -300 200
  read -r x y w h <<<"$(frame "$id")"
  [ "$x $y" != "$((screen_w - w)) 0" ] || fail "the window did not move"
  exit_program "$id"
  start
  id=$(main_window)
  expect_at "reopened after a move" "$id" "$x" "$y"
  # Closed while maximised: it opens again where the maximised frame stood, title bar on the screen.
  read -r x y w h <<<"$(frame "$id")"
  xdotool mousemove $((x + w / 2)) $((y + 8)) click --repeat 2 --delay 80 1 # the title bar's double click
  until_true 5 bash -c "xprop -id $id _NET_WM_STATE | grep -q MAXIMIZED_VERT" || fail "the window did not maximise"
  sleep 0.5
  read -r mx my mw mh <<<"$(frame "$id")"
  exit_program "$id"
  start
  id=$(main_window)
  [ "$mx" -ge 0 ] && [ "$my" -ge 0 ] || fail "maximised frame at $mx,$my"
  expect_at "reopened after a maximised close" "$id" "$mx" "$my"
  ;;
error-boxes)
  # "top" that is no DWORD: the box, then the laid-out 193, 80. "left" likewise: top as stored, left 193.
  for setup in 'top:"top"="abc":193:80' 'left:"left"="abc":193:40'; do
    IFS=: read -r name line left top <<<"$setup"
    store_values '"top"=dword:00000028' "$line"
    start
    box=$(wait_window '^Quillmark$' DIALOG)
    activate "$box"
    xdotool key Return
    id=$(main_window)
    expect_at "after the box for \"$name\"" "$id" "$left" "$top"
    exit_program "$id"
  done
  ;;
about-dialog)
  start
  id=$(main_window)
  activate "$id"
  xdotool key F1
  about=$(wait_window '^About Quillmark' DIALOG)
  read -r x y w h <<<"$(frame "$about")"
  expect_at "About centred at first showing" "$about" $(((screen_w - w) / 2)) $(((screen_h - h) / 2))
  drag "$about" -250 -150
  centred="$x $y"
  read -r x y w h <<<"$(frame "$about")"
  [ "$x $y" != "$centred" ] || fail "the About dialog did not move"
  xdotool mousemove --window "$about" 60 277 click 1 # Close
  until_true 5 bash -c "! xdotool search --onlyvisible --name '^About Quillmark' >/dev/null" || fail "the About dialog stayed open"
  activate "$id"
  xdotool key F1
  about=$(wait_window '^About Quillmark' DIALOG)
  expect_at "About reopened where it was left" "$about" "$x" "$y"
  ;;
window-hints)
  # The topic dialog: a title bar without any button; the About dialog: close box and window menu but
  # no minimise or maximise. openbox keeps its own buttons whatever a window asks, so the actions it
  # offers are read under metacity only.
  honours=""
  [ "$wm" = metacity ] && honours=1
  start
  id=$(main_window)
  xdotool mousemove --window "$id" 109 142 click 1 # Generate Effective Headlines
  topic=$(wait_window '^Select a topic' DIALOG)
  expect_hints "topic dialog" "$topic" "move !all !minimize !maximize !close" "border title !all !menu !minbox !maxbox" \
    "${honours:+MOVE !CLOSE !MINIMIZE !MAXIMIZE_HORZ !RESIZE}"
  xdotool mousemove --window "$topic" 54 87 click 1 # Cancel
  until_true 5 bash -c "! xdotool search --onlyvisible --name '^Select a topic' >/dev/null" || fail "the topic dialog stayed open"
  activate "$id"
  xdotool key F1
  about=$(wait_window '^About Quillmark' DIALOG)
  expect_hints "About dialog" "$about" "move close !all !minimize !maximize" "border title menu !all !minbox !maxbox" \
    "${honours:+MOVE CLOSE !MINIMIZE !MAXIMIZE_HORZ}"
  xdotool mousemove --window "$about" 60 277 click 1 # Close
  until_true 5 bash -c "! xdotool search --onlyvisible --name '^About Quillmark' >/dev/null" || fail "the About dialog stayed open"
  exit_program "$id"
  ;;
*)
  fail "unknown case $case_name"
  ;;
esac
