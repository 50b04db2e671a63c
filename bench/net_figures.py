#!/usr/bin/env python3
"""The network figures: quillmark-cli fetch against curl on a 48 MiB body over loopback (wall time,
median of 7, alternating), the peak memory of both for that body and for 1 GiB, then the 4-byte-chunk
download from bench_net at 1 to 8 MiB. Usage: bench/net_figures.py [BUILD_DIR]  (default: build)

Peak memory is read through GNU time: a child started straight from Python would count Python's
own resident pages in its high-water mark."""
import json
import os
import statistics
import subprocess
import sys
import time

BODY = 48 * 1024 * 1024
ROUNDS = 7
HUGE = 1024 * 1024 * 1024


def run(argv):
    """Wall seconds of one run, its output thrown away."""
    start = time.perf_counter()
    subprocess.run(argv, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
    return time.perf_counter() - start


def peak_kib(argv):
    """Peak resident KiB of one run."""
    result = subprocess.run(["/usr/bin/time", "-f", "%M"] + argv, stdout=subprocess.DEVNULL,
                            stderr=subprocess.PIPE, text=True, check=True)
    return int(result.stderr.strip().splitlines()[-1])


def measure(build, report=print):
    """Runs both parts and returns their figures: per framing the medians (ms) of curl and of the cli
    and both peaks (MiB) at 48 MiB and at 1 GiB, and bench_net's ms per MiB (real time)."""
    figures = {"download": {}, "chunks": {}}
    cli = os.path.join(build, "quillmark-cli")
    server = subprocess.Popen([os.path.join(build, "bench", "net_serve")], stdout=subprocess.PIPE, text=True)
    try:
        base = f"http://127.0.0.1:{server.stdout.readline().strip()}"
        report(f"48 MiB body over loopback, median of {ROUNDS} (wall ms); peak resident MiB at 48 MiB and 1 GiB")
        report(f"{'framing':<10}{'curl':>8}{'cli':>8}{'ratio':>7}{'curl peak':>11}{'cli peak':>10}"
               f"{'1 GiB curl':>12}{'1 GiB cli':>11}")
        for framing in ("length", "close"):
            url = f"{base}/{framing}/{BODY}"
            run(["curl", "-s", "-o", "/dev/null", url])  # a warm-up of both
            run([cli, "fetch", url])
            curl, ours = [], []
            for _ in range(ROUNDS):
                curl.append(run(["curl", "-s", "-o", "/dev/null", url]))
                ours.append(run([cli, "fetch", url]))
            c, q = statistics.median(curl) * 1000, statistics.median(ours) * 1000
            huge = f"{base}/{framing}/{HUGE}"
            f = {"curl": c, "cli": q,
                 "curl_peak": peak_kib(["curl", "-s", "-o", "/dev/null", url]) / 1024,
                 "peak": peak_kib([cli, "fetch", url]) / 1024,
                 "curl_huge_peak": peak_kib(["curl", "-s", "-o", "/dev/null", huge]) / 1024,
                 "huge_peak": peak_kib([cli, "fetch", huge]) / 1024}
            figures["download"][framing] = f
            report(f"{framing:<10}{c:>8.1f}{q:>8.1f}{q / c:>7.2f}{f['curl_peak']:>11.1f}{f['peak']:>10.1f}"
                   f"{f['curl_huge_peak']:>12.1f}{f['huge_peak']:>11.1f}")
    finally:
        server.kill()
        server.wait()

    # On one core: the sizes are compared with each other, and a machine's cores may differ in speed
    # (by 1.6x on one used here), which would show as growth when two sizes ran on different cores.
    core = max(os.sched_getaffinity(0))
    out = subprocess.run([os.path.join(build, "bench", "bench_net"), "--benchmark_format=json",
                          "--benchmark_min_time=1"], capture_output=True, text=True, check=True,
                         preexec_fn=lambda: os.sched_setaffinity(0, {core})).stdout
    runs = {b["name"]: b for b in json.loads(out)["benchmarks"]}
    report("\nDownload over loopback, ms per MiB (real / cpu); ratio to the 1 MiB figure")
    for framing in ("chunked4", "length"):
        first = None
        for mib in (1, 2, 4, 8):
            b = runs[f"Download/{framing}/{mib}/real_time"]
            real, cpu = b["real_time"] / mib, b["cpu_time"] / mib
            first = first or (real, cpu)
            figures["chunks"][(framing, mib)] = real
            report(f"{framing:<10}{mib:>3} MiB {real:>8.2f} / {cpu:>6.2f}   x{real / first[0]:.2f} / x{cpu / first[1]:.2f}")
    return figures


def main():
    measure(sys.argv[1] if len(sys.argv) > 1 else "build")


if __name__ == "__main__":
    main()
