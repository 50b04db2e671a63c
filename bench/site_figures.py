#!/usr/bin/env python3
"""A research run of the installed copy against the page server the package ships, beside the same
run against the demo's server (scripts/demo.sh: Python's http.server on 127.0.0.1).

The package (--deb) is unpacked into a scratch root; its quillmark-cli runs "research Misc" as a
whole process, which is the window's research run without the list filling (the same for either
server). The package's server is its unit's own command, started per connection by
systemd-socket-activate as the socket unit starts it:
  first  the first connection to a freshly started socket: the server's first start in a session
  later  a later connection to the same socket
  demo   the demo's server, already running
Runs alternate between the three, median of --runs each. Prints one line per figure."""

import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "../tests/packaging"))
import siteunit  # noqa: E402


def timed(cli, url):
    started = time.perf_counter()
    result = subprocess.run([cli, "research", "Misc", "--url", url], capture_output=True)
    elapsed = time.perf_counter() - started
    if result.returncode != 0 or result.stdout.count(b"\n") < 10:
        raise SystemExit("the research run from %s failed: %s" % (url, result.stderr.decode(errors="replace")))
    return elapsed


def main():
    root = tempfile.mkdtemp(prefix="quillmark-bench-root-")
    os.chmod(root, 0o755)  # the server runs as nobody
    try:
        subprocess.run(["dpkg-deb", "-x", args.deb, root], check=True)
        cli = os.path.join(root, "usr/bin/quillmark-cli")
        command = siteunit.server_command(root)
        site = os.path.join(root, "usr/share/quillmark/site")
        demo_port = siteunit.free_loopback_port()
        demo = subprocess.Popen([sys.executable, "-m", "http.server", str(demo_port), "--bind", "127.0.0.1",
                                 "--directory", site], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        times = {"first": [], "later": [], "demo": []}
        try:
            demo_url = "http://127.0.0.1:%d/headlines.html" % demo_port
            deadline = time.monotonic() + 30
            while subprocess.run([cli, "fetch", demo_url], capture_output=True).returncode != 0:
                if time.monotonic() > deadline:
                    raise SystemExit("the demo server did not come up")
                time.sleep(0.1)
            for _ in range(args.runs):
                address = "127.0.0.1:%d" % siteunit.free_loopback_port()
                url = "http://%s/headlines.html" % address
                with siteunit.Activated(address, command):
                    times["first"].append(timed(cli, url))
                    times["later"].append(timed(cli, url))
                times["demo"].append(timed(cli, demo_url))
        finally:
            demo.terminate()
            demo.wait()
        for name, values in times.items():
            print("%-6s median %.1f ms (min %.1f, max %.1f, %d runs)"
                  % (name, 1e3 * statistics.median(values), 1e3 * min(values), 1e3 * max(values), len(values)))
        print("first/demo %.2fx, later/demo %.2fx" % (statistics.median(times["first"]) / statistics.median(times["demo"]),
                                                     statistics.median(times["later"]) / statistics.median(times["demo"])))
    finally:
        shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--deb", required=True, help="the built package")
    parser.add_argument("--runs", type=int, default=9)
    args = parser.parse_args()
    main()
