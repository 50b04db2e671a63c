#!/usr/bin/env python3
"""Headline file save and open (bench_headlines) beside Python's configparser writing and reading the
same files, in one run, with their ratios. Usage: bench/headlines_vs_configparser.py BUILD_DIR"""
import configparser
import json
import os
import statistics
import subprocess
import sys
import tempfile
import time

SIZES = (2000, 100000)


def items(n):
    # The same items as bench_headlines writes.
    return [("Seven Ways to Write a Better Opening Line, part %d" % i, i % 3 == 0) for i in range(n)]


def configparser_write(path, n):
    config = configparser.RawConfigParser()
    for i, (caption, checked) in enumerate(items(n)):
        section = "item%d" % i
        config.add_section(section)
        config.set(section, "t", caption)
        config.set(section, "check", "1" if checked else "0")
    with open(path, "w", encoding="latin-1", newline="\r\n") as f:
        config.write(f)
        f.flush()
        os.fsync(f.fileno())  # the program's save is durable too


def configparser_read(path):
    config = configparser.RawConfigParser()
    config.read(path, encoding="latin-1")
    result = []
    for i in range(len(config.sections())):
        section = "item%d" % i
        if config.has_section(section) and config.options(section):
            check = config.get(section, "check", fallback="")
            result.append((config.get(section, "t", fallback="")[:2047], check.strip() != "0"))
    return result


def timed(action, repeat):
    times = []
    for _ in range(repeat):
        start = time.perf_counter()
        action()
        times.append((time.perf_counter() - start) * 1000.0)
    return statistics.median(times)


def measure(build, report=print):
    """Returns {(operation, items): (ours ms, configparser ms)} for save and open of each size."""
    figures = {}
    with tempfile.TemporaryDirectory(prefix="quillmark-bench-") as folder:
        env = dict(os.environ, QUILLMARK_BENCH_DIR=folder)
        out = subprocess.run([os.path.join(build, "bench", "bench_headlines"), "--benchmark_format=json",
                              "--benchmark_repetitions=5", "--benchmark_report_aggregates_only=true"],
                             env=env, check=True, capture_output=True, text=True).stdout
        ours = {}
        for b in json.loads(out)["benchmarks"]:
            if b.get("aggregate_name") == "median":
                name, n = b["run_name"].split("/")
                ours[(name, int(n))] = b["real_time"]
        report("%-8s %8s %12s %16s %7s" % ("", "items", "ours (ms)", "configparser", "ratio"))
        for n in SIZES:
            path = os.path.join(folder, "items%d.qmk" % n)  # written by the program's save
            repeat = 5 if n <= 2000 else 3
            assert len(configparser_read(path)) == n
            read_ms = timed(lambda: configparser_read(path), repeat)
            write_ms = timed(lambda: configparser_write(os.path.join(folder, "py%d.ini" % n), n), repeat)
            for label, mine, peer in (("save", ours[("BM_SaveHeadlineFile", n)], write_ms),
                                      ("open", ours[("BM_OpenHeadlineFile", n)], read_ms)):
                figures[(label, n)] = (mine, peer)
                report("%-8s %8d %12.2f %16.2f %6.3fx" % (label, n, mine, peer, mine / peer))
    return figures


def main():
    measure(sys.argv[1] if len(sys.argv) > 1 else "build")


if __name__ == "__main__":
    main()
