"""The package's web server part as its systemd units describe it: the socket's loopback address, the
command that answers each connection and the command of the feed refresh, so that a check can run
them as systemd would where no systemd runs (a build machine, a chroot): systemd-socket-activate
--inetd --accept hands each connection as standard input and output, as Accept=yes with
StandardInput=socket does, and the refresh gets the folders that StateDirectory= and CacheDirectory=
give it."""

import os
import shlex
import socket
import subprocess
import tempfile
import time

UNITS = "usr/lib/systemd/system"
SOCKET = "quillmark-site.socket"
SERVICE = "quillmark-site@.service"
REFRESH = "quillmark-refresh.service"
TIMER = "quillmark-refresh.timer"


def read_unit(path):
    """{section: {key: [values]}} of a unit file."""
    sections, section = {}, None
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.strip()
            if not line or line.startswith(("#", ";")):
                continue
            if line.startswith("["):
                section = sections.setdefault(line.strip("[]"), {})
            elif "=" in line and section is not None:
                key, value = line.split("=", 1)
                section.setdefault(key.strip(), []).append(value.strip())
    return sections


def first(unit, section, key):
    return (unit.get(section, {}).get(key) or [""])[-1]


def problems(root):
    """What keeps the units in root from serving the page as meant; empty when nothing does."""
    found = []
    paths = [os.path.join(root, UNITS, name) for name in (SOCKET, SERVICE, REFRESH, TIMER)]
    missing = [p for p in paths if not os.path.isfile(p)]
    if missing:
        return ["the package holds no " + ", ".join(os.path.basename(p) for p in missing)]
    socket, service, refresh, timer = (read_unit(p) for p in paths)
    for unit, section, key, value in ((refresh, "Service", "DynamicUser", "yes"),
                                      (refresh, "Service", "ProtectSystem", "strict"),
                                      (refresh, "Service", "StateDirectory", "quillmark"),
                                      (refresh, "Service", "CacheDirectory", "quillmark"),
                                      (timer, "Install", "WantedBy", "timers.target"),
                                      (socket, "Socket", "Accept", "yes"),
                                      (socket, "Install", "WantedBy", "sockets.target"),
                                      (service, "Service", "StandardInput", "socket"),
                                      (service, "Service", "StandardOutput", "socket"),
                                      (service, "Service", "DynamicUser", "yes"),
                                      (service, "Service", "ProtectSystem", "strict")):
        if first(unit, section, key) != value:
            found.append("[%s] %s is %r, not %s" % (section, key, first(unit, section, key), value))
    if not listen_address(root).startswith("127."):
        found.append("the socket listens on %r, not on a loopback address" % listen_address(root))
    return found


def listen_address(root):
    return first(read_unit(os.path.join(root, UNITS, SOCKET)), "Socket", "ListenStream")


def server_command(root, inside=None):
    """The service's ExecStart. Run from outside root (inside=None), its paths are taken from root
    (the program only when root holds it, for an interpreter); with inside set (a chroot prefix),
    the command runs in root as it stands."""
    return unit_command(root, SERVICE, inside)


def refresh_command(root, inside=None):
    """The refresh's ExecStart, as server_command gives the service's."""
    return unit_command(root, REFRESH, inside)


def unit_command(root, unit, inside):
    command = shlex.split(first(read_unit(os.path.join(root, UNITS, unit)), "Service", "ExecStart"))
    if inside is not None:
        return inside + command
    inside_root = [os.path.join(root, a.lstrip("/")) if a.startswith("/") else a for a in command]
    return [inside_root[0] if os.path.exists(inside_root[0]) else command[0]] + inside_root[1:]


class Activated:
    """systemd-socket-activate listening on address ("127.0.0.1:8080") and starting command per
    connection; ready once it listens. As root, the command runs as nobody, as the
    unit's dynamic user would: unprivileged and owning no file."""

    def __init__(self, address, command, as_nobody=True):
        as_user = ["setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"] \
            if as_nobody and os.geteuid() == 0 else []
        self.address = address
        self.log = tempfile.TemporaryFile()
        self.process = subprocess.Popen(["systemd-socket-activate", "--inetd", "--accept", "--listen", address]
                                        + as_user + command, stdout=self.log, stderr=self.log,
                                        stdin=subprocess.DEVNULL)

    def __enter__(self):
        deadline = time.monotonic() + 30
        while time.monotonic() < deadline and self.process.poll() is None:
            if self.listening():
                return self
            time.sleep(0.02)
        raise RuntimeError("nothing listens on %s: %s" % (self.address, self.output()))

    def listening(self):
        """Whether the socket listens, seen in /proc: a connection to find out would start a server."""
        host, port = self.address.rsplit(":", 1)
        wanted = "%s:%04X" % (socket.inet_aton(host)[::-1].hex().upper(), int(port))
        with open("/proc/net/tcp") as f:
            return any(fields[1] == wanted and fields[3] == "0A" for fields in (line.split() for line in f))

    def __exit__(self, *exc):
        self.process.terminate()
        self.process.wait()
        self.log.close()

    def output(self):
        self.log.seek(0)
        return self.log.read().decode(errors="replace").strip()


def free_loopback_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]
