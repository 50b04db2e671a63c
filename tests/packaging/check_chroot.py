#!/usr/bin/env python3
"""Run by scripts/check-package.sh inside a network namespace of its own, as root: in a Debian root
with the package installed, the socket's command answers on the socket's own address (started per
connection by systemd-socket-activate, as Accept=yes would, in the root and as an unprivileged user
of no files, as the dynamic user would be), and a new ordinary user lists every topic's
suggestions with the installed quillmark-cli from its built-in address. Prints one line per check
and exits 1 when any fails."""

import argparse
import os
import subprocess
import sys

import siteunit

TOPICS = ("Business", "Computers and Software", "Education", "Entertainment and Sport",
          "Government and Politics", "Misc", "Personal")
SERVER_USER = "61999:61999"  # from the range systemd takes dynamic users from; owns nothing in root


def as_writer(command):
    return ["chroot", "--userspec=%s:%s" % (args.user, args.user), args.root,
            "env", "-i", "HOME=/home/" + args.user, "PATH=/usr/bin:/bin", "LANG=C.UTF-8"] + command


def main():
    failed = 0

    def report(ok, name, detail=""):
        nonlocal failed
        print(("ok   " if ok else "FAIL ") + name + ("" if ok or not detail else ": " + detail))
        failed |= not ok

    subprocess.run(["ip", "link", "set", "lo", "up"], check=True)
    problems = siteunit.problems(args.root)
    report(not problems, "the installed units describe a loopback socket server", "; ".join(problems))
    command = siteunit.server_command(args.root, inside=["chroot", "--userspec=" + SERVER_USER, args.root])
    with siteunit.Activated(siteunit.listen_address(args.root), command, as_nobody=False) as server:
        for topic in TOPICS:
            result = subprocess.run(as_writer(["quillmark-cli", "research", topic]),
                                    capture_output=True, timeout=120)
            lines = result.stdout.count(b"\n")
            report(result.returncode == 0 and lines > 0,
                   "quillmark-cli research '%s' as a new user lists %d suggestions" % (topic, lines),
                   "status %d: %s %s" % (result.returncode, result.stderr.decode(errors="replace").strip(),
                                        server.output()[-300:]))
    result = subprocess.run(as_writer(["quillmark-cli", "research", "Misc"]), capture_output=True, timeout=120)
    report(result.returncode == 1 and b"while fetching http://" in result.stderr,
           "with the server stopped the research fails and names the address",
           "status %d: %s" % (result.returncode, result.stderr.decode(errors="replace").strip()))
    return failed


if __name__ == "__main__":
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--root", required=True)
    parser.add_argument("--user", required=True)
    args = parser.parse_args()
    sys.exit(main())
