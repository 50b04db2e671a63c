#!/usr/bin/env bash
# The real program as a native Wayland client under a headless sway: it starts, opens the topic
# dialog and runs a research run, shows the About dialog and ends through File > Exit with status 0;
# and it leaves the stored window position as it was, since a Wayland client cannot learn its own.
#   wayland.sh QUILLMARK QT_PLUGIN_DIR SITE_DIR SOURCE_URL
# sway refuses to run as root, so as root the compositor and the program run as nobody, inside a
# network namespace of this test's own where the source page is served at the program's built address
# (an http://127.x.x.x:PORT/ address). Exits 77 (skipped) where a tool or Qt's Wayland platform is missing.
set -euo pipefail

program=$1
plugins=$2
site=$3
url=$4

skip() {
  echo "skipped: $*"
  exit 77
}
for tool in sway swaymsg wtype python3; do
  command -v "$tool" >/dev/null || skip "$tool is missing"
done
[ -e "$plugins/platforms/libqwayland-generic.so" ] || skip "Qt's Wayland platform (qt6-wayland) is missing"

as_user=() # how the compositor and the program run: as nobody when this is root
served=""  # whether the source page is served in a network namespace of our own
if [ "$(id -u)" = 0 ]; then
  command -v setpriv >/dev/null || skip "setpriv is missing"
  as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
  if [ -z "${QM_WAYLAND_NETNS:-}" ] && unshare --net true 2>/dev/null; then
    exec unshare --net env QM_WAYLAND_NETNS=1 "$0" "$@"
  fi
  if [ -n "${QM_WAYLAND_NETNS:-}" ] && command -v ip >/dev/null && [[ $url =~ ^http://(127\.[0-9.]+):([0-9]+)(/.*)$ ]]; then
    ip link set lo up
    served=1
    host=${BASH_REMATCH[1]} port=${BASH_REMATCH[2]} page=${BASH_REMATCH[3]}
  fi
fi

work=$(mktemp -d)
chmod 755 "$work"
# shellcheck source=tests/desktop/processes.sh
. "$(dirname "$0")/processes.sh"

runtime=$work/runtime
config=$work/config
mkdir -p "$runtime" "$config/Quillmark" "$work/home"
[ ${#as_user[@]} = 0 ] || chown -R 65534:65534 "$runtime" "$config" "$work/home"
chmod 700 "$runtime"
store=$config/Quillmark/registry.reg

# The build tree may lie under folders that nobody cannot enter: then the program runs from a copy.
if ! "${as_user[@]}" test -x "$program"; then
  cp "$program" "$work/quillmark"
  program=$work/quillmark
fi

# Runs a command in the session: as the session's user, with nothing of this environment but the
# session's own variables. spawn starts one in the background and sets $! to the command's own process
# (setpriv and env hand it theirs), so that it can be ended.
swaysock=$runtime/sway.sock
display=""
in_session() { # sets cmd to the command line that runs "$@" in the session
  cmd=("${as_user[@]}" env -i PATH="$PATH" HOME="$work/home" XDG_RUNTIME_DIR="$runtime" XDG_CONFIG_HOME="$config"
    SWAYSOCK="$swaysock" ${display:+WAYLAND_DISPLAY="$display"} "$@")
}
session() {
  in_session "$@"
  "${cmd[@]}"
}
spawn() {
  local log=$1
  shift
  in_session "$@"
  "${cmd[@]}" >>"$log" 2>&1 &
}

until_true() { # polls a command until it succeeds, for at most $1 seconds
  local end=$((SECONDS + $1))
  shift
  until "$@"; do
    [ $SECONDS -lt $end ] || return 1
    sleep 0.1
  done
}

if [ -n "$served" ]; then
  mkdir -p "$work/www${page%/*}"
  cp -r "$site"/. "$work/www${page%/*}"
  python3 -m http.server --bind "$host" --directory "$work/www" "$port" >"$work/server.log" 2>&1 &
  pids+=($!)
fi

printf 'output HEADLESS-1 resolution 1280x800\nxwayland disable\n' >"$work/sway.conf"
spawn "$work/sway.log" WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman sway -c "$work/sway.conf"
pids+=($!)
ready() { [ -S "$swaysock" ] && compgen -G "$runtime/wayland-*.lock" >/dev/null; }
until_true 15 ready || fail "sway did not start: $(tail -n 5 "$work/sway.log")"
display=$(basename "$(compgen -G "$runtime/wayland-*.lock")" .lock)

# A virtual keyboard exists only while the wtype that made it runs, and a client takes the keyboard
# only once the seat has announced one: keys from a wtype that starts, types and ends at once reach no
# client at all. One wtype that only waits keeps a keyboard in the seat for the whole session.
spawn /dev/null wtype -s 600000 -k Shift_L
pids+=($!)
key() { session wtype "$@"; }

# The windows of the session, one per line: "focused<TAB>title".
windows() {
  session swaymsg -t get_tree | python3 -c '
import json, sys
def walk(node):
    if node.get("type") in ("con", "floating_con") and node.get("name"):
        print(int(node.get("focused", False)), node["name"], sep="\t")
    for child in node.get("nodes", []) + node.get("floating_nodes", []):
        walk(child)
walk(json.load(sys.stdin))'
}
shown() { windows | grep -q -P "^\\d\\t$1\$"; }
gone() { ! shown "$1"; }
focused() { windows | grep -q -P "^1\\t$1\$"; }
wait_shown() { until_true 15 shown "$1" || fail "no window '$1' appeared: $(windows | tr '\t\n' ' ;')"; }
wait_gone() { until_true 15 gone "$1" || fail "'$1' stayed open"; }
ended() { ! kill -0 "$app" 2>/dev/null; }

stored_values() { grep -E '^"(top|left)"=' "$store" 2>/dev/null | tr -d '\r' | sort | tr '\n' ' ' || true; }

start() {
  spawn "$work/program.log" QT_QPA_PLATFORM=wayland "$program"
  app=$!
  until_true 15 focused Quillmark || fail "the main window did not appear with the focus: $(windows | tr '\t\n' ' ;')"
}
exit_program() { # File > Exit; the program must end with status 0
  key -M alt f -m alt
  key x
  until_true 10 ended || fail "the program did not end after File > Exit"
  local status=0
  wait "$app" || status=$?
  app=""
  [ "$status" = 0 ] || fail "the program ended with status $status"
  echo "ok: ended through File > Exit with status 0"
}

# First run: no position stored, and none made up at the end.
start
exit_program
[ -z "$(stored_values)" ] || fail "a first run under Wayland stored the position $(stored_values)"
echo "ok: no position stored by a first run"

# A position stored under X11 survives a Wayland session that used every window.
mkdir -p "$(dirname "$store")"
printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Tamsworth\\Lettrix\\Setup]\r\n"top"=dword:00000028\r\n"left"=dword:00000032\r\n' >"$store"
[ ${#as_user[@]} = 0 ] || chown 65534:65534 "$store"
before=$(stored_values)
start

key -k Tab # from the window's first focus to "Generate Effective Headlines"
key -k space
wait_shown 'Select a topic\.\.\.'
key -k Return # Research has the focus when the dialog first opens
wait_gone 'Select a topic\.\.\.'
if [ -n "$served" ]; then
  until_true 15 grep -q "GET $page " "$work/server.log" || fail "the research run fetched no page"
  echo "ok: the research run fetched $page"
else
  echo "ok: the topic dialog closed through Research (the page is served only in a network namespace of our own)"
fi

key -k F1
if ! until_true 5 shown 'About Quillmark\.\.\.'; then
  focused Quillmark || fail "F1 opened no About dialog: the main window did not have the focus"
  key -M alt h -m alt
  key a
  until_true 5 shown 'About Quillmark\.\.\.' || fail "the About dialog did not open, neither by F1 nor by Help > About"
  fail "F1 opened no About dialog, Help > About did: the F1 shortcut did not reach its action"
fi
echo "ok: F1 opened the About dialog"
session swaymsg '[title="^About Quillmark"] kill' >/dev/null # its close box
wait_gone 'About Quillmark\.\.\.'
exit_program
[ "$(stored_values)" = "$before" ] || fail "the stored position became $(stored_values), was $before"
echo "ok: the stored position stayed $before"
