#!/usr/bin/env bash
# For maintainers, before a release: the Debian package as a new user of a clean Debian gets it.
#   1. builds the release as the release stage of scripts/test.sh does (build-package/release:
#      RelWithDebInfo, warnings as errors, Debian's hardening flags) and the .deb
#      (build-package/deb), and runs lintian --pedantic on it;
#   2. makes a clean Debian root with debootstrap, once, from the Debian mirror that this machine's
#      apt sources name (or QUILLMARK_DEBIAN_MIRROR, when set): it is kept in
#      build-package/debian-root and copied afresh for every run (the downloaded packages are kept
#      in build-package/apt-archives);
#   3. installs the package there with apt, makes a new ordinary user, and in a network namespace
#      of its own runs the installed socket unit's command on the unit's address and the installed
#      quillmark-cli's research for every topic from its built-in address (tests/packaging/
#      check_chroot.py says how the unit is run without systemd), and the window program under
#      Xvfb, driven with xdotool, whose research list is saved and read back; then the feed
#      refresh's command, as its unit would run it, against feeds that a loopback server in the
#      namespace publishes: their titles listed, their last good copies kept when the server is
#      gone, and an unchanged feed answered with 304.
# One line per check; exits non-zero when any check fails. Needs root, debootstrap and about 1 GiB.
# The first run takes a release build plus some 10 minutes (debootstrap and the downloads); a later
# run with the build up to date about 1.5 minutes (2-core build machine).
set -uo pipefail
cd "$(dirname "$0")/.."

readonly out=build-package
readonly suite=bookworm
readonly user=writer
mkdir -p "$out/logs"
failed=0

check() {  # check NAME COMMAND...: one line, the output in build-package/logs/NAME.log
  local name=$1
  shift
  if "$@" >"$out/logs/$name.log" 2>&1; then
    echo "ok   $name"
  else
    echo "FAIL $name (see $out/logs/$name.log)"
    failed=1
  fi
}

if [ "$(id -u)" -ne 0 ]; then
  echo "check-package: run as root (debootstrap, chroot and a network namespace need it)" >&2
  exit 2
fi

release() {
  cmake -S . -B "$out/release" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLMARK_WARNINGS_AS_ERRORS=ON \
        -DQUILLMARK_BUILD_TESTS=OFF -DQUILLMARK_BUILD_BENCH=OFF &&
    cmake --build "$out/release" -j"$(nproc 2>/dev/null || echo 2)"
}
package() {
  rm -rf "$out/deb" && cpack -G DEB --config "$out/release/CPackConfig.cmake" -B "$out/deb" &&
    rm -rf "$out/deb/_CPack_Packages" && cp "$out"/deb/*.deb "$out/quillmark.deb"
}
# The Debian mirror this machine's apt takes its packages from: the first URI of a source of the
# main archive (the one that offers "$suite" itself, not its security or updates suites), read from
# the one-line sources.list format and from deb822 .sources files alike.
apt_mirror() {  # apt_mirror [SOURCE-FILE...]: by default the machine's own
  [ $# -gt 0 ] || set -- /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources
  local files=() f
  for f; do [ -f "$f" ] && files+=("$f"); done
  [ ${#files[@]} -gt 0 ] && awk -v suite="$suite" '
    function stanza() {
      if (!off && uris != "" && index(suites, " " suite " ")) found = uris
      uris = ""; suites = ""; off = 0
    }
    FNR == 1 || /^[ \t]*$/ { stanza(); if (found != "") exit }
    /^[ \t]*deb[ \t]/ {
      for (i = 2; i <= NF; i++) if ($i !~ /^\[/ && !index($i, "=") && $i !~ /\]$/) break
      if ($(i + 1) == suite) { found = $i; exit }
    }
    tolower($1) == "uris:" { uris = $2 }
    tolower($1) == "suites:" { suites = " " $0 " " }
    tolower($1) == "enabled:" { off = tolower($2) == "no" }
    END { if (found == "") stanza(); if (found != "") print found }' "${files[@]}"
}
debian_root() {
  local mirror=${QUILLMARK_DEBIAN_MIRROR:-$(apt_mirror)}
  if [ -z "$mirror" ]; then
    echo "no apt source of Debian $suite on this machine: set QUILLMARK_DEBIAN_MIRROR to a mirror's URL" >&2
    return 1
  fi
  if [ ! -d "$out/debian-root" ]; then
    rm -rf "$out/debian-root.new" &&
      debootstrap --variant=minbase "$suite" "$out/debian-root.new" "$mirror" &&
      mv "$out/debian-root.new" "$out/debian-root"
  fi
}
unmount_root() {
  for m in var/cache/apt/archives tmp/.X11-unix dev proc; do
    mountpoint -q "$out/root/$m" 2>/dev/null && umount -l "$out/root/$m"
  done
  return 0
}
fresh_root() {
  unmount_root
  rm -rf "$out/root" && cp -a "$out/debian-root" "$out/root" &&
    mkdir -p "$out/apt-archives/partial" && cp /etc/resolv.conf "$out/root/etc/resolv.conf" &&
    printf '#!/bin/sh\nexit 101\n' >"$out/root/usr/sbin/policy-rc.d" && chmod 755 "$out/root/usr/sbin/policy-rc.d" &&
    mount -t proc proc "$out/root/proc" && mount --bind /dev "$out/root/dev" &&
    mount --bind "$out/apt-archives" "$out/root/var/cache/apt/archives" &&
    mkdir -p /tmp/.X11-unix "$out/root/tmp/.X11-unix" && chmod 1777 /tmp/.X11-unix &&
    mount --bind /tmp/.X11-unix "$out/root/tmp/.X11-unix"
}
install_package() {
  cp "$out/quillmark.deb" "$out/root/tmp/quillmark.deb" &&
    chroot "$out/root" apt-get update &&
    chroot "$out/root" env DEBIAN_FRONTEND=noninteractive \
      apt-get install -y --no-install-recommends /tmp/quillmark.deb
}
new_user() { chroot "$out/root" useradd --create-home --shell /bin/sh "$user"; }
trap unmount_root EXIT

check release-build release
check debian-package package
check lintian python3 -B tests/packaging/check_deb.py lintian --out "$out/deb"
check debootstrap-root debian_root
if [ "$failed" -eq 0 ]; then
  check fresh-root fresh_root
  check apt-install install_package
  check new-user new_user
fi
if [ "$failed" -eq 0 ]; then
  unshare --net python3 -B tests/packaging/check_chroot.py \
    --root "$out/root" --user "$user" || failed=1
fi
[ "$failed" -eq 0 ] && echo "all checks passed" || echo "some checks failed"
exit "$failed"
