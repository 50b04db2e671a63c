#!/usr/bin/env python3
"""The Debian package, built by CPack and unpacked into scratch roots with dpkg -x:

  build    builds the package into --out (run first; the other steps use it)
  depends  the package depends on the package of every library its programs link, and on what the
           program loads by name at run time
  program  the installed program comes up offscreen, stays up, and ends when told to
  cli      the installed quillmark-cli parses a page and downloads one from a server on 127.0.0.1
  folders  run by a user who cannot write the program's folder, the headline dialogs start in that
           user's documents folder
  lintian  lintian --pedantic reports no error and no warning
  site     built for the loopback address, the package serves its page there: it holds the page
           and the units, the service's command answers on loopback as the socket would start it,
           and the installed quillmark-cli lists the page's suggestions through it; a server
           binary that is missing makes the research run fail at once. Built for another address,
           the package has no server part
  refresh  the refresh's command, run as its unit would against a feed server on 127.0.0.1, skips
           the bad lines of feeds.conf and the feeds that fail, builds the page that the service's
           command then serves, asks again on condition only, keeps a feed's last good copy, and
           puts the shipped page back when no feed is named

Exits 0 when the step holds, 1 naming every failure, 77 (skipped) when dpkg's tools are missing."""

import argparse
import functools
import glob
import http.server
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time

import siteunit
from feedserver import DRIP, FLOOD, FeedServer, rss
from checks import Failures, finished, missing_tools, skipped

NOBODY = 65534
# Long enough for a loaded machine; every wait polls and goes on as soon as its condition holds.
PATIENCE = 30.0
POLL = 0.05


def wait_for(condition, patience=PATIENCE):
    deadline = time.monotonic() + patience
    while not condition():
        if time.monotonic() > deadline:
            return False
        time.sleep(POLL)
    return True


def the_deb():
    debs = glob.glob(os.path.join(args.out, "*.deb"))
    if len(debs) != 1:
        raise SystemExit("expected one package in %s, found %s" % (args.out, debs))
    return debs[0]


class ScratchRoot:
    """The package unpacked into a fresh folder that every user may read."""

    def __enter__(self):
        self.path = tempfile.mkdtemp(prefix="quillmark-root-")
        os.chmod(self.path, 0o755)
        subprocess.run(["dpkg-deb", "-x", the_deb(), self.path], check=True)
        return self

    def __exit__(self, *exc):
        subprocess.run(["chmod", "-R", "u+w", self.path])
        shutil.rmtree(self.path, ignore_errors=True)

    def bin(self, name):
        return os.path.join(self.path, "usr/bin", name)


def private_env(home):
    """An environment of the program's own: its lock, position store and documents under home."""
    runtime = os.path.join(home, "runtime")
    os.makedirs(runtime, mode=0o700, exist_ok=True)
    os.makedirs(os.path.join(home, "Documents"), exist_ok=True)
    env = {k: v for k, v in os.environ.items() if not k.startswith(("XDG_", "QT_"))}
    env.update(HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"), XDG_RUNTIME_DIR=runtime,
               QT_QPA_PLATFORM="offscreen")
    return env


def step_build():
    shutil.rmtree(args.out, ignore_errors=True)
    result = subprocess.run([args.cpack, "-G", "DEB", "--config", os.path.join(args.build, "CPackConfig.cmake"),
                             "-B", args.out], capture_output=True, text=True)
    if result.returncode != 0:
        print(result.stdout + result.stderr)
        return ["cpack failed"]
    the_deb()
    return []


def owning_package(path):
    """The installed package that holds the file, trying the path as given and as resolved."""
    for candidate in dict.fromkeys([path, os.path.realpath(path), re.sub(r"^/usr/lib/", "/lib/", path),
                                    re.sub(r"^/lib/", "/usr/lib/", os.path.realpath(path))]):
        found = subprocess.run(["dpkg-query", "-S", candidate], capture_output=True, text=True)
        if found.returncode == 0:
            return found.stdout.split(":")[0].strip()
    return None


def step_depends():
    failures = Failures()
    deb = the_deb()
    field = subprocess.run(["dpkg-deb", "-f", deb, "Depends"], capture_output=True, text=True, check=True).stdout
    # "a (>= 1), b | c" -> every package named, alternatives included
    depends = {re.split(r"[\s(:]", alt.strip())[0] for dep in field.split(",") for alt in dep.split("|")}
    with ScratchRoot() as root:
        for program in ("quillmark", "quillmark-cli"):
            path = root.bin(program)
            if not failures.expect(os.access(path, os.X_OK), program + " is not in the package"):
                continue
            dynamic = subprocess.run(["readelf", "-d", path], capture_output=True, text=True, check=True).stdout
            needed = re.findall(r"\(NEEDED\).*\[(.+)\]", dynamic)
            resolved = dict(re.findall(r"^\s*(\S+) => (\S+)", subprocess.run(
                ["ldd", path], capture_output=True, text=True).stdout, re.MULTILINE))
            for soname in needed:
                owner = owning_package(resolved.get(soname, soname))
                if failures.expect(owner, "%s needs %s, which no installed package holds" % (program, soname)):
                    failures.expect(owner in depends, "%s needs %s from %s, not among the dependencies: %s"
                                    % (program, soname, owner, field.strip()))
    # Loaded by name, unseen by dpkg-shlibdeps: the window-system plugins and the design's stand-in face.
    plugins = subprocess.run(["dpkg-query", "-S", "*/qt6/plugins/platforms/libqxcb.so"],
                             capture_output=True, text=True).stdout
    for owner in {line.split(":")[0] for line in plugins.splitlines()}:
        failures.expect(owner in depends, "the window-system plugin's package %s is not a dependency" % owner)
    failures.expect("fonts-liberation2" in depends, "the stand-in font's package is not a dependency")
    return failures


def step_program():
    failures = Failures()
    with ScratchRoot() as root, tempfile.TemporaryDirectory(prefix="quillmark-home-") as home:
        env = private_env(home)
        lock = os.path.join(env["XDG_RUNTIME_DIR"], "quillmark.lock")
        log = open(os.path.join(home, "output"), "w+")
        program = subprocess.Popen([root.bin("quillmark")], env=env, stdout=log, stderr=log,
                                   stdin=subprocess.DEVNULL)
        try:
            def holds_lock():
                try:
                    with open(lock) as f:
                        return f.readline().strip() == str(program.pid)
                except OSError:
                    return False
            came_up = failures.expect(wait_for(lambda: holds_lock() or program.poll() is not None)
                                      and program.poll() is None, "the installed program did not come up")
            if came_up:
                time.sleep(1.0)
                failures.expect(program.poll() is None, "the installed program ended by itself: %s" % program.returncode)
            program.send_signal(signal.SIGTERM)
            failures.expect(wait_for(lambda: program.poll() is not None, 10.0), "the installed program did not end")
        finally:
            if program.poll() is None:
                program.kill()
            program.wait()
            log.seek(0)
            output = log.read().strip()
            log.close()
        if failures and output:
            failures.append("its output: " + output)
    return failures


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def run(command, **kwargs):
    return subprocess.run(command, capture_output=True, timeout=60, **kwargs)


def missing_command(result, command):
    """True, with a note, when this quillmark-cli does not offer the command yet."""
    if result.returncode == 2 and b"not available" in result.stderr:
        print("note: this quillmark-cli has no %s command yet; it is not checked" % command)
        return True
    return False


def step_cli():
    failures = Failures()
    page_path = os.path.join(args.site, "headlines.html")
    with open(page_path, "rb") as f:
        page = f.read()
    with ScratchRoot() as root:
        cli = root.bin("quillmark-cli")
        parsed = run([cli, "parse", "Business"], input=page)
        failures.expect(parsed.returncode == 0 and parsed.stdout.count(b"\n") >= 120,
                        "parse gave %d lines, status %d" % (parsed.stdout.count(b"\n"), parsed.returncode))
        failures.expect(parsed.stdout == run([args.build_cli, "parse", "Business"], input=page).stdout,
                        "the installed and the built quillmark-cli parse differently")
        for argv, status, says in ((["--help"], 0, b"usage:"), (["--version"], 0, b"quillmark-cli "),
                                   (["--helpme"], 2, b""), (["--version", "x"], 2, b"")):
            answer = run([cli] + argv)
            failures.expect(answer.returncode == status and answer.stdout.startswith(says),
                            "quillmark-cli %s gave status %d and %r" % (" ".join(argv), answer.returncode, answer.stdout[:80]))

        server = http.server.ThreadingHTTPServer(
            ("127.0.0.1", 0), functools.partial(QuietHandler, directory=args.site))
        threading.Thread(target=server.serve_forever, daemon=True).start()
        try:
            url = "http://127.0.0.1:%d/headlines.html" % server.server_address[1]
            fetched = run([cli, "fetch", url])
            if not missing_command(fetched, "fetch"):
                failures.expect(fetched.returncode == 0 and fetched.stdout == page,
                                "fetch from 127.0.0.1 gave status %d and %d bytes of %d: %s"
                                % (fetched.returncode, len(fetched.stdout), len(page), fetched.stderr[:200]))
            researched = run([cli, "research", "Business", "--url", url])
            if not missing_command(researched, "research"):
                failures.expect(researched.returncode == 0 and researched.stdout == parsed.stdout,
                                "research from 127.0.0.1 differs from parse: status %d, %s"
                                % (researched.returncode, researched.stderr[:200]))
        finally:
            server.shutdown()
            server.server_close()
    return failures


def step_folders():
    failures = Failures()
    with ScratchRoot() as root, tempfile.TemporaryDirectory(prefix="quillmark-home-") as home:
        os.chmod(home, 0o755)
        env = private_env(home)
        program_folder = os.path.dirname(root.bin("quillmark"))
        probe = root.bin("quillmark-folder-probe")
        shutil.copy(args.probe, probe)
        if os.geteuid() == 0:
            # Root may write anywhere: the user who starts an installed program is someone else.
            for dirpath, dirnames, filenames in os.walk(home):
                for name in [dirpath] + [os.path.join(dirpath, n) for n in dirnames + filenames]:
                    os.chown(name, NOBODY, NOBODY)
            as_user = ["setpriv", "--reuid=%d" % NOBODY, "--regid=%d" % NOBODY, "--clear-groups"]
        else:
            os.chmod(program_folder, 0o555)
            as_user = []
        writable = subprocess.run(as_user + ["test", "-w", program_folder], env=env).returncode == 0
        if not failures.expect(not writable, "the user running the test can write " + program_folder):
            return failures
        result = subprocess.run(as_user + [probe], env=env, capture_output=True, text=True, timeout=60)
        if not failures.expect(result.returncode == 0, "the probe failed: " + result.stderr.strip()):
            return failures
        folders = dict(line.split("\t", 1) for line in result.stdout.splitlines() if "\t" in line)
        documents = os.path.join(home, "Documents")
        failures.expect(folders.get("program-folder") == program_folder,
                        "the program folder is %s, not %s" % (folders.get("program-folder"), program_folder))
        for dialog in ("open-dialog", "save-dialog"):
            failures.expect(folders.get(dialog) == documents,
                            "the %s starts in %s, not %s" % (dialog, folders.get(dialog), documents))
    return failures


def step_lintian():
    command = ["lintian", "--pedantic", "--no-tag-display-limit", the_deb()]
    if os.geteuid() == 0:
        command.insert(1, "--allow-root")
    result = subprocess.run(command, capture_output=True, text=True, timeout=600)
    complaints = [line for line in result.stdout.splitlines() if line.startswith(("E:", "W:"))]
    for line in result.stdout.splitlines():
        if not line.startswith(("E:", "W:")):
            print("note: " + line)
    return Failures(["lintian: " + line for line in complaints])


# What systemd-analyze security counts against a service that has network access.
NETWORK = {"PrivateNetwork=", "RestrictAddressFamilies=~AF_(INET|INET6)"}


def exposure(units, unit):
    """The settings that systemd-analyze security finds weak in a unit file, and its overall level."""
    rated = subprocess.run(["systemd-analyze", "security", "--offline=yes", "--no-pager", unit], cwd=units,
                           capture_output=True, text=True, timeout=60).stdout
    level = re.search(r"Overall exposure level for \S+: (\S+ \S+)", rated)
    return {line.split()[1] for line in rated.splitlines() if line.startswith("\u2717")}, level and level.group(1)


def step_site():
    failures = Failures()
    deb = the_deb()
    depends = subprocess.run(["dpkg-deb", "-f", deb, "Depends"], capture_output=True, text=True, check=True).stdout
    with ScratchRoot() as root:
        holds_units = os.path.isdir(os.path.join(root.path, siteunit.UNITS))
        if args.serves_site != "ON":
            failures.expect(not holds_units and "busybox" not in depends,
                            "built for another address, the package still has a server part")
            return failures
        if not failures.expect("busybox" in depends, "the package does not depend on the web server"):
            return failures
        with open(os.path.join(args.site, "headlines.html"), "rb") as f:
            page = f.read()
        shipped = os.path.join(root.path, "usr/share/quillmark/site/headlines.html")
        failures.expect(os.path.isfile(shipped) and open(shipped, "rb").read() == page,
                        "the package does not hold site/headlines.html")
        for problem in siteunit.problems(root.path):
            failures.append(problem)
        units = os.path.join(root.path, siteunit.UNITS)
        verify = subprocess.run(["systemd-analyze", "verify", "--man=no", siteunit.SOCKET, siteunit.SERVICE,
                                 siteunit.REFRESH, siteunit.TIMER], cwd=units, capture_output=True, text=True, timeout=60)
        # Offline, the programs that the units name are not installed on this machine.
        complaints = [line for line in verify.stderr.splitlines() if "is not executable" not in line]
        failures.expect(not complaints and (verify.returncode == 0 or verify.stderr.strip()),
                        "systemd-analyze verify: " + "\n".join(complaints))
        # The refresh is sandboxed as tightly as the page service, but for the network it fetches from.
        page_weak, page_level = exposure(units, siteunit.SERVICE)
        refresh_weak, refresh_level = exposure(units, siteunit.REFRESH)
        print("note: exposure of the page service %s, of the refresh %s" % (page_level, refresh_level))
        failures.expect(refresh_weak <= page_weak | NETWORK, "the refresh is less sandboxed than the page service in %s"
                        % ", ".join(sorted(refresh_weak - page_weak - NETWORK)))
        if failures:
            return failures

        cli = root.bin("quillmark-cli")
        version = run([cli, "--version"]).stdout.decode()
        built_in = re.search(r"http://([^/]+)(/\S*)", version)
        if not failures.expect(built_in, "quillmark-cli --version names no source page: " + version):
            return failures
        failures.expect(built_in.group(1) == siteunit.listen_address(root.path),
                        "the socket listens on %s, the programs fetch %s"
                        % (siteunit.listen_address(root.path), built_in.group(0)))
        # The unit's own address may be taken on this machine: the same command on a free port.
        address = "127.0.0.1:%d" % siteunit.free_loopback_port()
        url = "http://%s%s" % (address, built_in.group(2))
        expected = run([cli, "parse", "Misc"], input=page).stdout
        command = siteunit.server_command(root.path)
        with siteunit.Activated(address, command) as server:
            researched = run([cli, "research", "Misc", "--url", url])
            failures.expect(researched.returncode == 0 and researched.stdout == expected and expected,
                            "research through the unit's command gave status %d and %d of %d bytes: %s %s"
                            % (researched.returncode, len(researched.stdout), len(expected),
                               researched.stderr[:300], server.output()[-500:]))
        address = "127.0.0.1:%d" % siteunit.free_loopback_port()
        with siteunit.Activated(address, [os.path.join(root.path, "no-such-server")] + command[1:]):
            started = time.monotonic()
            failed = run([cli, "research", "Misc", "--url", "http://%s/headlines.html" % address])
            failures.expect(failed.returncode == 1 and b"while fetching" in failed.stderr
                            and time.monotonic() - started < 20,
                            "without its server binary the run gave status %d after %.1f s: %s"
                            % (failed.returncode, time.monotonic() - started, failed.stderr[:300]))
    return failures


def step_refresh():
    failures = Failures()
    with ScratchRoot() as root, FeedServer() as publisher, open(os.path.join(args.site, "headlines.html"), "rb") as f:
        shipped = f.read()
        cli = root.bin("quillmark-cli")
        if run([cli, "page", "--help"]).returncode != 0:
            print("note: this quillmark-cli has no page command yet; the refresh is not checked")
            return failures
        state, cache = (os.path.join(root.path, "var", folder, "quillmark") for folder in ("lib", "cache"))
        for folder in (state, cache):
            os.makedirs(folder)
        conf = os.path.join(root.path, "etc/quillmark/feeds.conf")
        with open(conf) as f:
            shipped_conf = f.read()
        page = os.path.join(state, "site/headlines.html")
        env = {"PATH": os.environ["PATH"], "STATE_DIRECTORY": state, "CACHE_DIRECTORY": cache,
               "QUILLMARK_FEED_SECONDS": "3"}

        def refresh(lines):
            with open(conf, "w") as f:
                f.write(lines)
            return subprocess.run(siteunit.refresh_command(root.path), env=env, capture_output=True,
                                  text=True, timeout=120)

        def listed(topic):
            with open(page, "rb") as f:
                return run([cli, "parse", topic], input=f.read()).stdout.decode().splitlines()

        def shipped_of(topic):
            return run([cli, "parse", topic], input=shipped).stdout.decode().splitlines()

        done = refresh(shipped_conf)
        failures.expect(done.returncode == 0 and not os.path.exists(page) and not publisher.requests,
                        "the shipped feeds.conf: status %d, %d requests, %s"
                        % (done.returncode, len(publisher.requests), done.stderr))
        publisher.put("/misc.xml", rss("Loopback Story One", "Loopback Story Two"))
        publisher.put("/drip.xml", DRIP)
        publisher.put("/flood.xml", FLOOD)
        feeds = "\n".join(["Misc  " + publisher.url("/misc.xml"), "Sports " + publisher.url("/misc.xml"),
                           "Business ftp://127.0.0.1/feed.xml", "Education http://127.0.0.1/\x01.xml",
                           "# a comment", "computers and software\t" + publisher.url("/drip.xml"),
                           "Personal " + publisher.url("/gone.xml"), "Education " + publisher.url("/flood.xml")]) + "\n"
        started = time.monotonic()
        done = refresh(feeds)
        took = time.monotonic() - started
        failures.expect(done.returncode == 1 and took < 30, "a refresh with bad lines and feeds: status %d after %.0f s"
                        % (done.returncode, took))
        for says in ("line 2 ", "line 3 ", "line 4 ", "line 6: the feed " + publisher.url("/drip.xml"),
                     "line 7: the feed " + publisher.url("/gone.xml"), "flood.xml failed (larger than 64 MiB)"):
            failures.expect(says in done.stderr, "the refresh does not name %r: %s" % (says, done.stderr))
        if not failures.expect(os.path.isfile(page), "no page was built: " + done.stderr):
            return failures
        failures.expect(listed("Misc") == ["Loopback Story One", "Loopback Story Two"],
                        "the page lists %s for the feed's topic" % listed("Misc"))
        for topic in ("Business", "Computers and Software", "Personal", "Education"):
            failures.expect(listed(topic) == shipped_of(topic), "the page lost the shipped %s headlines" % topic)
        address = "127.0.0.1:%d" % siteunit.free_loopback_port()
        with siteunit.Activated(address, siteunit.server_command(root.path)) as server:
            researched = run([cli, "research", "Misc", "--url", "http://%s/headlines.html" % address])
            failures.expect(researched.stdout.decode().splitlines() == listed("Misc"),
                            "the page service does not serve the refreshed page: %s %s"
                            % (researched.stderr[:300], server.output()[-300:]))

        asked = len(publisher.requests)
        done = refresh(feeds)
        again = publisher.served("/misc.xml")[-1]
        failures.expect(len(publisher.served("/misc.xml")) == 2 and again.status == 304
                        and again.if_none_match and again.if_modified_since and again.user_agent.startswith("Quillmark/"),
                        "an unchanged feed was not asked on condition: %s" % vars(again))
        failures.expect(len(publisher.requests) == asked + 4, "a refresh asked %d times for 4 feeds"
                        % (len(publisher.requests) - asked))
        # Changed within the second of the copy fetched last: the same Last-Modified, a new ETag.
        publisher.put("/misc.xml", rss("Loopback Story Three"), modified=publisher.feeds["/misc.xml"][2])
        done = refresh(feeds)
        failures.expect(publisher.served("/misc.xml")[-1].status == 200 and listed("Misc") == ["Loopback Story Three"],
                        "a feed changed within the same second gave %s: %s" % (listed("Misc"), done.stderr))
        for fault, body in (("gone", None), ("not a feed", b"<html><body>moved</body></html>")):
            if body is None:
                del publisher.feeds["/misc.xml"]
            else:
                publisher.put("/misc.xml", body)
            done = refresh(feeds)
            failures.expect(listed("Misc") == ["Loopback Story Three"] and "last good copy" in done.stderr,
                            "a feed %s did not keep its last good copy: %s" % (fault, done.stderr))
        done = refresh(shipped_conf)
        failures.expect(done.returncode == 0 and not os.path.exists(os.path.dirname(page))
                        and not os.listdir(cache), "naming no feed again left %s" % os.listdir(state))
    return failures


STEPS = {"build": step_build, "depends": step_depends, "program": step_program, "cli": step_cli,
         "folders": step_folders, "lintian": step_lintian, "site": step_site,
         "refresh": step_refresh}

if __name__ == "__main__":
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("step", choices=STEPS)
    parser.add_argument("--out", required=True, help="folder of the built package")
    parser.add_argument("--build", help="the build folder (build)")
    parser.add_argument("--cpack", help="the cpack program (build)")
    parser.add_argument("--site", help="the folder of the source page (cli, site, refresh)")
    parser.add_argument("--build-cli", help="quillmark-cli of the build folder (cli)")
    parser.add_argument("--probe", help="the dialog folder probe (folders)")
    parser.add_argument("--serves-site", help="ON when built for the package's own loopback address (site)")
    args = parser.parse_args()
    tools = ["dpkg-deb", "dpkg-query", "dpkg-shlibdeps", "readelf", "ldd"]
    if args.step == "folders" and os.geteuid() == 0:
        tools.append("setpriv")
    tools += {"lintian": ["lintian"], "site": ["systemd-socket-activate", "systemd-analyze", "busybox"],
              "refresh": ["systemd-socket-activate", "busybox", "curl"]}.get(args.step, [])
    missing = missing_tools(tools)
    sys.exit(skipped(missing) if missing else finished(STEPS[args.step]()))
