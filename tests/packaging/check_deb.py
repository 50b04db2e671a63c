#!/usr/bin/env python3
"""The Debian package, built by CPack and unpacked into scratch roots with dpkg -x:

  build    builds the package into --out (run first; the other steps use it)
  depends  the package depends on the package of every library its programs link, and on what the
           program loads by name at run time
  program  the installed program comes up offscreen, stays up, and ends when told to
  cli      the installed quillmark-cli parses a page and downloads one from a server on 127.0.0.1
  folders  run by a user who cannot write the program's folder, the headline dialogs start in that
           user's documents folder

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


STEPS = {"build": step_build, "depends": step_depends, "program": step_program, "cli": step_cli,
         "folders": step_folders}

if __name__ == "__main__":
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("step", choices=STEPS)
    parser.add_argument("--out", required=True, help="folder of the built package")
    parser.add_argument("--build", help="the build folder (build)")
    parser.add_argument("--cpack", help="the cpack program (build)")
    parser.add_argument("--site", help="the folder of the source page (cli)")
    parser.add_argument("--build-cli", help="quillmark-cli of the build folder (cli)")
    parser.add_argument("--probe", help="the dialog folder probe (folders)")
    args = parser.parse_args()
    tools = ["dpkg-deb", "dpkg-query", "dpkg-shlibdeps", "readelf", "ldd"]
    if args.step == "folders" and os.geteuid() == 0:
        tools.append("setpriv")
    missing = missing_tools(tools)
    sys.exit(skipped(missing) if missing else finished(STEPS[args.step]()))
