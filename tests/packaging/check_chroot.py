#!/usr/bin/env python3
"""Run by scripts/check-package.sh inside a network namespace of its own, as root: in a Debian root
with the package installed, the socket's command answers on the socket's own address (started per
connection by systemd-socket-activate, as Accept=yes would, in the root and as an unprivileged user
of no files, as the dynamic user would be), and a new ordinary user lists every topic's
suggestions with the installed quillmark-cli from its built-in address, and with the window program
under Xvfb: presses "Generate Effective Headlines" and Research, and saves the list that came back
through "File, Save file...". Then the feed refresh's command runs as its unit would (as another
user of no files, with its state and cache folders) against feeds that a server on 127.0.0.1 in the
namespace publishes: the feeds' titles are listed for their topics while the others keep the
shipped headlines, the last good copies stay when the feed server is gone, and a feed that did not
change is answered with 304. Prints one line per check and exits 1 when any fails."""

import argparse
import os
import subprocess
import sys
import time

import siteunit
from feedserver import FeedServer, rss

TOPICS = ("Business", "Computers and Software", "Education", "Entertainment and Sport",
          "Government and Politics", "Misc", "Personal")
SERVER_USER = "61999:61999"  # from the range systemd takes dynamic users from; owns nothing in root
REFRESH_USER = 61998  # the refresh's dynamic user: owns its state and cache folders only
FEED_TOPICS = ("Misc", "Business")
DISPLAY = ":77"
# Where the window's layout puts "Generate Effective Headlines", from the window's top left corner.
GENERATE_BUTTON = (109, 142)


def as_writer(command, *env):
    return ["chroot", "--userspec=%s:%s" % (args.user, args.user), args.root,
            "env", "-i", "HOME=/home/" + args.user, "PATH=/usr/bin:/bin", "LANG=C.UTF-8", *env] + command


def xdotool(*words, patience=60):
    try:
        result = subprocess.run(["xdotool", *words], capture_output=True, text=True, timeout=patience,
                                env=dict(os.environ, DISPLAY=DISPLAY))
    except subprocess.TimeoutExpired:
        return []
    return result.stdout.split()


def window_lists_suggestions():
    """Runs the window program as the user, researches the first topic and saves the list; gives the
    number of saved items and what went wrong on the way."""
    saved = "/home/%s/list.qmk" % args.user
    xvfb = subprocess.Popen(["Xvfb", DISPLAY, "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    program = None
    try:
        time.sleep(1)
        program = subprocess.Popen(as_writer(["quillmark"], "DISPLAY=" + DISPLAY), stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        main = xdotool("search", "--sync", "--onlyvisible", "--name", "^Quillmark$")
        if not main:
            return 0, "the window did not come up"
        xdotool("mousemove", "--window", main[0], *map(str, GENERATE_BUTTON), "click", "1")
        if not xdotool("search", "--sync", "--onlyvisible", "--name", "^Select a topic"):
            return 0, "the topic dialog did not open"
        xdotool("key", "Return")  # Research has the focus when the dialog first opens
        time.sleep(3)
        xdotool("windowfocus", main[0])
        xdotool("key", "--window", main[0], "alt+f")
        time.sleep(0.5)
        xdotool("key", "s")
        if not xdotool("search", "--sync", "--onlyvisible", "--name", "^Save As"):
            return 0, "the save dialog did not open"
        xdotool("type", "--delay", "20", saved)
        xdotool("key", "Return")
        deadline = time.monotonic() + 30
        while not os.path.isfile(args.root + saved) and time.monotonic() < deadline:
            time.sleep(0.2)
        items = subprocess.run(as_writer(["quillmark-cli", "qmk-export", saved]), capture_output=True, timeout=60)
        return items.stdout.count(b"\n"), items.stderr.decode(errors="replace").strip()
    finally:
        for process in (program, xvfb):
            if process is not None:
                process.terminate()
                process.wait()


def research(topic):
    return subprocess.run(as_writer(["quillmark-cli", "research", topic]), capture_output=True, timeout=120).stdout


def refresh():
    """The refresh unit's command, as systemd would run it."""
    env = ["env", "-i", "PATH=/usr/bin:/bin", "STATE_DIRECTORY=/var/lib/quillmark", "CACHE_DIRECTORY=/var/cache/quillmark"]
    user = "--userspec=%d:%d" % (REFRESH_USER, REFRESH_USER)
    return subprocess.run(siteunit.refresh_command(args.root, inside=["chroot", user, args.root] + env),
                          capture_output=True, text=True, timeout=600)


def check_refresh(report, shipped):
    titles = {topic: ["Loopback %s Story %s" % (topic, n) for n in ("One", "Two")] for topic in FEED_TOPICS}
    for folder in ("var/lib/quillmark", "var/cache/quillmark"):
        os.makedirs(os.path.join(args.root, folder))
        os.chown(os.path.join(args.root, folder), REFRESH_USER, REFRESH_USER)
    with FeedServer() as publisher:
        port, first = publisher.server_address[1], publisher.feeds
        with open(os.path.join(args.root, "etc/quillmark/feeds.conf"), "a") as conf:
            for topic in FEED_TOPICS:
                publisher.put("/%s.xml" % topic, rss(*titles[topic]))
                conf.write("%s %s\n" % (topic, publisher.url("/%s.xml" % topic)))
        done = refresh()
        listed = {topic: research(topic) for topic in TOPICS}
        fresh = all(listed[t].decode().splitlines() == titles[t] for t in FEED_TOPICS)
        kept = [t for t in TOPICS if t not in FEED_TOPICS and listed[t] == shipped[t]]
        report(done.returncode == 0 and fresh and len(kept) == len(TOPICS) - len(FEED_TOPICS),
               "the refresh from feeds: research lists the feeds' titles for %s, and %d other topics keep "
               "the shipped headlines" % (" and ".join(FEED_TOPICS), len(kept)),
               "status %d: %s; %r" % (done.returncode, done.stderr, listed[FEED_TOPICS[0]][:200]))
        version = subprocess.run(as_writer(["quillmark-cli", "--version"]), capture_output=True, text=True).stdout
        report("served page: built from feeds at " in version, "quillmark-cli --version says the page was "
               "refreshed from the feeds", version)
    done = refresh()
    report(done.returncode == 1 and done.stderr.count("last good copy") == 2
           and all(research(t).decode().splitlines() == titles[t] for t in FEED_TOPICS),
           "with the feed server gone, the refresh keeps each feed's last good copy and the page its titles",
           done.stderr)
    with FeedServer(port=port) as publisher:
        # Both keep the Last-Modified of the copies fetched: Misc changed within that same second.
        publisher.put("/Misc.xml", rss("Loopback Misc Story Three"), modified=first["/Misc.xml"][2])
        publisher.put("/Business.xml", rss(*titles["Business"]), modified=first["/Business.xml"][2])
        done = refresh()
        asked = {r.path: r for r in publisher.requests}
        changed, same = asked.get("/Misc.xml"), asked.get("/Business.xml")
        listed = research("Misc").decode().splitlines()
        report(done.returncode == 0 and len(publisher.requests) == 2 and changed and changed.status == 200
               and same and same.status == 304 and same.if_none_match and same.if_modified_since
               and listed == ["Loopback Misc Story Three"],
               "the refresh fetches the changed feed again and the unchanged feed answers 304 to its "
               "conditional request", "status %d, research lists %r; requests %s; %s"
               % (done.returncode, listed, [vars(r) for r in publisher.requests], done.stderr))


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
    shipped = {}
    with siteunit.Activated(siteunit.listen_address(args.root), command, as_nobody=False) as server:
        for topic in TOPICS:
            result = subprocess.run(as_writer(["quillmark-cli", "research", topic]),
                                    capture_output=True, timeout=120)
            shipped[topic] = result.stdout
            lines = result.stdout.count(b"\n")
            report(result.returncode == 0 and lines > 0,
                   "quillmark-cli research '%s' as a new user lists %d suggestions" % (topic, lines),
                   "status %d: %s %s" % (result.returncode, result.stderr.decode(errors="replace").strip(),
                                        server.output()[-300:]))
        items, why = window_lists_suggestions()
        report(items > 0, "the window program as a new user lists %d suggestions and saves them" % items,
               why + " " + server.output()[-300:])
        check_refresh(report, shipped)
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
