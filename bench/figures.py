#!/usr/bin/env python3
"""Runs every benchmark of a release build and prints one table: each figure, the peer measured in
the same run, their ratio and the goal. Usage: bench/figures.py [BUILD_DIR]  (default: build)

The per-area scripts (net_figures.py, headlines_vs_configparser.py) run as parts of this one; their
own detailed output goes to standard error, the table to standard output (Markdown)."""
import json
import os
import platform
import re
import statistics
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import feed_figures  # noqa: E402
import headlines_vs_configparser  # noqa: E402
import net_figures  # noqa: E402

def note(text=""):
    print(text, file=sys.stderr, flush=True)


def google_benchmark(build, name, *args):
    """The runs of one Google Benchmark binary: {run name: [run, ...]} from its JSON report."""
    with tempfile.NamedTemporaryFile(suffix=".json") as out:
        note(f"-- {name}")
        subprocess.run([os.path.join(build, "bench", name), f"--benchmark_out={out.name}",
                        "--benchmark_out_format=json", *args], check=True, stdout=sys.stderr)
        runs = {}
        for b in json.load(open(out.name))["benchmarks"]:
            if b.get("run_type", "iteration") == "iteration":
                name = re.sub(r"/repeats:\d+", "", b.get("run_name", b["name"]))
                runs.setdefault(name, []).append(b)
        return runs


def median(runs, key):
    return statistics.median(r[key] for r in runs)


class Table:
    def __init__(self):
        self.rows = []

    def add(self, figure, ours, peer, ratio, goal, met=None):
        if met is None:
            met = ""
        else:
            met = "yes" if met else "**no**"
        self.rows.append((figure, ours, peer, f"{ratio:.2f}x", goal, met))

    def print(self):
        print("| figure | Quillmark | peer (same run) | ratio | goal | met |")
        print("|---|---:|---:|---:|---|---|")
        for row in self.rows:
            print("| " + " | ".join(row) + " |")


def cold_start(build, table):
    runs = google_benchmark(build, "bench_coldstart")["BM_ColdStartToMainWindowShown/iterations:1/manual_time"]
    ours, text, bare = median(runs, "real_time"), median(runs, "text_ms"), median(runs, "bare_ms")
    table.add(f"cold start to the main window shown, median of {len(runs)}", f"{ours:.1f} ms",
              f"{text:.1f} ms (QMainWindow with one line of text)", ours / text, "at most 1.4x", ours / text <= 1.4)
    table.add("cold start, for reference", f"{ours:.1f} ms", f"{bare:.1f} ms (empty QMainWindow)", ours / bare,
              "(none)")


def parser(build, table):
    runs = google_benchmark(build, "bench_parser", "--benchmark_repetitions=3")
    floor = median(runs["BM_MemmemFloor/10485760"], "cpu_time")
    parse = median(runs["BM_ParseSourcePage/10485760"], "cpu_time")
    x_floor = median(runs["BM_ParseSourcePage/10485760"], "x_floor")
    table.add("source page parse + filter, 10 MB page (CPU)", f"{parse:.1f} ms", f"{floor:.2f} ms (memmem scan)",
              x_floor, "at most 10x", x_floor <= 10)
    per_mb_1 = median(runs["BM_ParseSourcePage/1048576"], "ms_per_MB")
    per_mb_10 = median(runs["BM_ParseSourcePage/10485760"], "ms_per_MB")
    table.add("parse time per MB, 10 MB page", f"{per_mb_10:.2f} ms", f"{per_mb_1:.2f} ms (1 MB page)",
              per_mb_10 / per_mb_1, "at most 1.5x", per_mb_10 / per_mb_1 <= 1.5)
    ours = median(runs["BM_IsBlockedHeadline"], "cpu_time")
    peer = median(runs["BM_SeventySearches"], "cpu_time")
    table.add("content filter, one passing caption", f"{ours:.0f} ns", f"{peer:.0f} ns (70 plain searches)",
              ours / peer, "(none)")


def headlines(build, table):
    note("-- bench_headlines and configparser")
    figures = headlines_vs_configparser.measure(build, report=note)
    for (operation, items), (ours, peer) in sorted(figures.items(), key=lambda f: (f[0][0] == "open", f[0][1])):
        table.add(f"headline file {operation}, {items:,} items", f"{ours:.1f} ms", f"{peer:.1f} ms (configparser)",
                  ours / peer, "at most 1x", ours <= peer)
    for operation in ("save", "open"):
        small, large = figures[(operation, 2000)][0], figures[(operation, 100000)][0]
        growth = (large / 100000) / (small / 2000)
        table.add(f"headline file {operation}, time per item at 100,000 items", f"{large / 100:.2f} us",
                  f"{small / 2:.2f} us (2,000 items)", growth, "linear (work: see its section)")


def network(build, table):
    note("-- network figures (net_serve, quillmark-cli, curl, bench_net)")
    figures = net_figures.measure(build, report=note)
    for framing, label in (("length", "Content-Length"), ("close", "until close")):
        f = figures["download"][framing]
        table.add(f"48 MiB download over loopback, {label}, median of 7", f"{f['cli']:.1f} ms",
                  f"{f['curl']:.1f} ms (curl)", f["cli"] / f["curl"], "at most 0.9x", f["cli"] <= 0.9 * f["curl"])
        for size, key in (("48 MiB", "peak"), ("1 GiB", "huge_peak")):
            table.add(f"quillmark-cli fetch peak memory, {size}, {label}", f"{f[key]:.1f} MiB",
                      f"{f['curl_' + key]:.1f} MiB (curl)", f[key] / f["curl_" + key], "at most 16 MiB",
                      f[key] <= 16)
    one, eight = figures["chunks"][("chunked4", 1)], figures["chunks"][("chunked4", 8)]
    table.add("4-byte chunked download, ms per MiB at 8 MiB", f"{eight:.2f} ms", f"{one:.2f} ms (at 1 MiB)",
              eight / one, "flat (at most 1.5x)", eight / one <= 1.5)


def paint(build, table):
    runs = google_benchmark(build, "bench_paint_ovalbutton", "--benchmark_repetitions=5")
    for ours_name, peer_name, label in (("BM_OvalButtonPaint", "BM_PushButtonStyleDraw", "bare drawing"),
                                        ("BM_OvalButtonRender", "BM_PushButtonRender", "whole paint path")):
        ours, peer = median(runs[ours_name], "cpu_time") / 1000, median(runs[peer_name], "cpu_time") / 1000
        table.add(f"oval button paint, 64 x 31, {label} (CPU)", f"{ours:.1f} us", f"{peer:.1f} us (QPushButton)",
                  ours / peer, "at most 2x", ours <= 2 * peer)


def research(build, table):
    runs = google_benchmark(build, "bench_research", "--benchmark_repetitions=3",
                            "--benchmark_filter=PressToDone/(1000|10000)/|ParseAlone/10000/")
    run = median(runs["PressToDone/10000/real_time"], "real_time")
    parse = median(runs["ParseAlone/10000/real_time"], "real_time")
    table.add("research run, press to \"Done!\", 10,000 entries (1 MB)", f"{run:.1f} ms",
              f"{parse:.2f} ms (parse alone)", run / parse, "(none)")
    small = median(runs["PressToDone/1000/real_time"], "real_time") / 1000
    large = run / 10000
    table.add("research run, time per entry at 10,000 entries", f"{large * 1000:.2f} us",
              f"{small * 1000:.2f} us (1,000 entries)", large / small, "flat (at most 1.5x)", large / small <= 1.5)


def feeds(build, table):
    note("-- feed_figures.py")
    f = feed_figures.measure(build, note)
    label = f"quillmark-cli page, RSS 2.0 of {feed_figures.ITEMS:,} items ({f['feed_mb']:.0f} MB), median"
    table.add(label, f"{f['page']:.0f} ms", f"{f['xmllint']:.0f} ms (xmllint --stream)", f["page"] / f["xmllint"],
              "at most 2x", f["page"] <= 2 * f["xmllint"])
    table.add(label, f"{f['page']:.0f} ms", f"{f['feedparser']:.0f} ms (feedparser)", f["page"] / f["feedparser"],
              "at most 0.05x", f["page"] <= 0.05 * f["feedparser"])
    table.add(f"quillmark-cli page peak memory, {f['size_200']:.0f} MB feed", f"{f['peak_200']:.1f} MiB", "64 MiB",
              f["peak_200"] / 64, "at most 64 MiB", f["peak_200"] <= 64)


# The benchmarks this table knows, in its order; any other bench_* binary is named at the end, not run.
PARTS = (("bench_coldstart", cold_start), ("bench_parser", parser), ("bench_headlines", headlines),
         ("bench_net", network), ("bench_paint_ovalbutton", paint), ("bench_research", research))


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build"
    folder = os.path.join(build, "bench")
    present = {n for n in os.listdir(folder)
               if n.startswith("bench_") and os.path.isfile(os.path.join(folder, n)) and os.access(os.path.join(folder, n), os.X_OK)}
    table = Table()
    for name, part in PARTS:
        if name in present:
            part(build, table)
        else:
            note(f"-- {name} is not built (GUI off?): its rows are missing")
    feeds(build, table)
    note()
    with open("/proc/loadavg") as f:
        load = f.read().split()[:3]
    model = platform.machine()
    with open("/proc/cpuinfo") as f:
        for line in f:
            if line.startswith("model name"):
                model = line.split(":", 1)[1].strip()
                break
    print(f"Machine: {model}, {os.cpu_count()} CPUs; load average {' '.join(load)} at the end of the run.\n")
    table.print()
    unknown = sorted(present - {name for name, _ in PARTS})
    if unknown:
        print(f"\nNot in the table (run alone): {', '.join(unknown)}")
    failed = [row[0] for row in table.rows if row[5] == "**no**"]
    if failed:
        print(f"\nGoals not met: {'; '.join(failed)}")


if __name__ == "__main__":
    main()
