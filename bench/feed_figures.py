#!/usr/bin/env python3
"""The feed figures: quillmark-cli page on a generated RSS 2.0 feed of 50,000 items (about 10 MB)
against xmllint --stream --noout (libxml2's own streaming pass over the same file, the floor) and
python3-feedparser (wall time of whole processes, median, alternating), then peak memory on a
200 MB feed (refused once 64 MiB are read) and on a 60 MiB feed (read whole).
Usage: bench/feed_figures.py [BUILD_DIR]  (default: build)

Peak memory is read through GNU time, as in net_figures.py."""
import os
import resource
import statistics
import subprocess
import sys
import tempfile
import time

ITEMS = 50_000
ROUNDS = 7
FEEDPARSER_ROUNDS = 3
FEEDPARSER = "import sys, feedparser; feedparser.parse(sys.argv[1])"


def write_feed(path, items):
    """An RSS 2.0 feed of the given number of items, about 200 bytes each, dates spread over a month."""
    with open(path, "w", encoding="utf-8") as f:
        f.write('<?xml version="1.0" encoding="UTF-8"?>\n<rss version="2.0"><channel><title>Bench</title>'
                "<link>http://127.0.0.1/</link><description>Generated feed</description>\n")
        for i in range(items):
            f.write(f"<item><title>Headline {i} on topic {i % 97} &amp; what it means</title>"
                    f"<link>http://127.0.0.1/{i}</link><description>Item {i} of the feed.</description>"
                    f"<pubDate>Mon, {1 + i % 28:02d} Feb 2026 {i % 24:02d}:{i % 60:02d}:00 GMT</pubDate></item>\n")
        f.write("</channel></rss>\n")


def on_one_core():
    # Every timed run on the same core: a machine's cores may differ in speed (by 1.3x on one used
    # here), and a program and its peer that landed on different cores would be compared unfairly.
    os.sched_setaffinity(0, {max(os.sched_getaffinity(0))})


def run(argv):
    """Wall and CPU (user + system) seconds of one run; CPU time holds up better on a shared machine."""
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.perf_counter()
    subprocess.run(argv, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True,
                   preexec_fn=on_one_core)
    wall = time.perf_counter() - start
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    return wall, after.ru_utime + after.ru_stime - before.ru_utime - before.ru_stime


def peak_mib(argv, stdin=None):
    result = subprocess.run(["/usr/bin/time", "-f", "%M"] + argv, stdin=stdin, stdout=subprocess.DEVNULL,
                            stderr=subprocess.PIPE, text=True)
    return int(result.stderr.strip().splitlines()[-1]) / 1024


def measure(build, report=print):
    cli = os.path.join(build, "quillmark-cli")
    figures = {}
    with tempfile.TemporaryDirectory() as folder:
        feed = os.path.join(folder, "feed.xml")
        write_feed(feed, ITEMS)
        figures["feed_mb"] = os.path.getsize(feed) / 1e6
        page = [cli, "page", f"Misc={feed}"]
        floor = ["xmllint", "--stream", "--noout", feed]
        # Debian's python3-feedparser, for the system's Python (not one found first on PATH).
        peer = ["/usr/bin/python3", "-c", FEEDPARSER, feed]
        run(page), run(floor)  # warm the file cache
        ours, xmllint, feedparser = [], [], []
        for i in range(ROUNDS):
            ours.append(run(page))
            xmllint.append(run(floor))
            if i < FEEDPARSER_ROUNDS:
                feedparser.append(run(peer))
        for name, runs in (("page", ours), ("xmllint", xmllint), ("feedparser", feedparser)):
            figures[name] = statistics.median(r[0] for r in runs) * 1000
            figures[name + "_cpu"] = statistics.median(r[1] for r in runs) * 1000
        report(f"{ITEMS} items, {figures['feed_mb']:.1f} MB, medians of wall (CPU) ms: page {figures['page']:.0f} "
               f"({figures['page_cpu']:.0f}), xmllint {figures['xmllint']:.0f} ({figures['xmllint_cpu']:.0f}), "
               f"feedparser {figures['feedparser']:.0f} ({figures['feedparser_cpu']:.0f})")

        write_feed(feed, 60 * 1024 * 1024 // 210)
        figures["peak_60"] = peak_mib(page)
        figures["size_60"] = os.path.getsize(feed) / 2**20
        write_feed(feed, 200_000_000 // 210)
        figures["size_200"] = os.path.getsize(feed) / 1e6
        with open(feed, "rb") as stdin:
            figures["peak_200"] = peak_mib([cli, "page", "Misc=-"], stdin)
        report(f"peak: {figures['peak_60']:.1f} MiB on a {figures['size_60']:.0f} MiB feed, "
               f"{figures['peak_200']:.1f} MiB on a {figures['size_200']:.0f} MB feed from a pipe (refused at 64 MiB)")
    return figures


if __name__ == "__main__":
    measure(sys.argv[1] if len(sys.argv) > 1 else "build")
