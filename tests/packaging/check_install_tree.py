#!/usr/bin/env python3
"""Installs the build into a scratch prefix and checks what a desktop and its users get from it: the
programs, a desktop entry and an AppStream component that the desktop's own validators accept and that
point at files which are really installed, the application icon in every size of the icon theme, and a
manual page that renders cleanly and documents every sub-command quillmark-cli offers.

Exits 0 when everything holds, 1 naming every failure, 77 (skipped) when a validator is missing."""

import argparse
import gzip
import os
import re
import struct
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

from checks import Failures, finished, missing_tools, skipped

ICON_SIZES = (16, 32, 48, 128)


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    if head[:8] != b"\x89PNG\r\n\x1a\n" or head[12:16] != b"IHDR":
        return None
    return struct.unpack(">II", head[16:24])


def desktop_entry(path):
    """The keys of the [Desktop Entry] group."""
    keys, group = {}, None
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.strip()
            if not line or line.startswith("#"):
                continue
            if line.startswith("["):
                group = line
            elif group == "[Desktop Entry]" and "=" in line:
                key, value = line.split("=", 1)
                keys[key.strip()] = value.strip()
    return keys


def cli_commands(cli):
    """The sub-commands that quillmark-cli lists in its usage text."""
    usage = subprocess.run([cli], capture_output=True, text=True, timeout=30)
    return re.findall(r"^  ([a-z][a-z-]*) ", usage.stderr, re.MULTILINE)


def check_desktop_entry(c, prefix, app_id):
    path = os.path.join(prefix, "share/applications", app_id + ".desktop")
    if not c.expect(os.path.isfile(path), "no desktop entry at " + path):
        return
    result = subprocess.run(["desktop-file-validate", path], capture_output=True, text=True)
    # Hints are advice (TextTools could also be in Utility, which would list the program twice).
    complaints = [line for line in result.stdout.splitlines() if not re.search(r": hint: ", line)]
    c.expect(result.returncode == 0 and not complaints,
             "desktop-file-validate: " + "\n".join(complaints) + result.stderr.strip())
    keys = desktop_entry(path)
    for key, value in (("GenericName", None), ("Comment", None), ("Terminal", "false")):
        c.expect(keys.get(key) and value in (None, keys[key]), "the desktop entry's %s is wrong" % key)
    categories = keys.get("Categories", "").split(";")
    c.expect("Office" in categories and "TextTools" in categories,
             "categories are not Office and TextTools: " + keys.get("Categories", ""))
    program = keys.get("Exec", "").split(" ")[0]
    c.expect(program and os.access(os.path.join(prefix, "bin", program), os.X_OK),
             "Exec names no installed program: " + keys.get("Exec", ""))
    c.expect(keys.get("Icon") == app_id, "Icon is not the installed icon's name: " + keys.get("Icon", ""))


def check_icons(c, prefix, app_id):
    theme = os.path.join(prefix, "share/icons/hicolor")
    for side in ICON_SIZES:
        path = os.path.join(theme, "%dx%d/apps/%s.png" % (side, side, app_id))
        if c.expect(os.path.isfile(path), "no %d px icon at %s" % (side, path)):
            c.expect(png_size(path) == (side, side),
                     "the icon in the %d px folder is %s" % (side, png_size(path)))
    svg = os.path.join(theme, "scalable/apps", app_id + ".svg")
    c.expect(os.path.isfile(svg), "no scalable icon at " + svg)


def check_metainfo(c, prefix, app_id, version):
    path = os.path.join(prefix, "share/metainfo", app_id + ".metainfo.xml")
    if not c.expect(os.path.isfile(path), "no AppStream file at " + path):
        return
    result = subprocess.run(["appstreamcli", "validate", "--pedantic", "--no-net", "--no-color", path],
                            capture_output=True, text=True)
    issues = [line for line in result.stdout.splitlines() if re.match(r"[EWIP]: ", line)]
    c.expect(result.returncode == 0 and not issues,
             "appstreamcli validate --pedantic: " + (result.stdout + result.stderr).strip())
    root = ET.parse(path).getroot()
    c.expect(root.findtext("id") == app_id, "the component's id is not " + app_id)
    launchable = root.findtext("launchable") or ""
    c.expect(os.path.isfile(os.path.join(prefix, "share/applications", launchable)),
             "the launchable is no installed desktop entry: " + launchable)
    for binary in root.iterfind("provides/binary"):
        c.expect(os.access(os.path.join(prefix, "bin", binary.text), os.X_OK),
                 "a provided program is not installed: " + binary.text)
    # Pictures and links only from a homepage that exists: none from a placeholder host.
    links = [i.text.strip() for i in root.iterfind("screenshots/screenshot/image")] + \
        [u.text.strip() for u in root.iterfind("url")]
    for link in links:
        c.expect(not re.match(r"[a-z]+://[^/:]*\.example\b", link), "the component points at a placeholder host: " + link)
    images = [i.text.strip() for i in root.iterfind("screenshots/screenshot/image")]
    for image in images:
        c.expect(image.startswith("https://"), "a screenshot is not given by an https URL: " + image)
    releases = root.findall("releases/release")
    c.expect(releases and releases[0].get("version") == version,
             "the newest release is not this version (%s)" % version)


def render_man_page(c, path):
    if not c.expect(os.path.isfile(path), "no manual page at " + path):
        return None
    env = dict(os.environ, LC_ALL="C.UTF-8", MANROFFSEQ="", MANWIDTH="80", MAN_KEEP_FORMATTING="")
    rendered = subprocess.run(["man", "--warnings", "-E", "UTF-8", "-l", path],
                              capture_output=True, text=True, env=env, timeout=60)
    c.expect(rendered.returncode == 0 and not rendered.stderr.strip(),
             "the manual page %s renders with warnings: %s" % (path, rendered.stderr.strip()))
    return rendered


def check_man_page(c, prefix, version):
    render_man_page(c, os.path.join(prefix, "share/man/man1/quillmark.1.gz"))
    path = os.path.join(prefix, "share/man/man1/quillmark-cli.1.gz")
    rendered = render_man_page(c, path)
    if rendered is None:
        return
    text = re.sub(r".\x08", "", rendered.stdout)  # overstrike bold and underline
    # The section between the two headings: the text may name a section too ("see TOPIC KEYS").
    section = re.split(r"^TOPIC KEYS$", re.split(r"^COMMANDS$", text, 1, re.MULTILINE)[-1], 1, re.MULTILINE)[0]
    commands = cli_commands(os.path.join(prefix, "bin/quillmark-cli"))
    c.expect(commands, "quillmark-cli lists no sub-commands")
    for command in commands:
        c.expect(re.search(r"^ {7}%s\b" % re.escape(command), section, re.MULTILINE),
                 "the manual page does not describe the sub-command " + command)
    with gzip.open(path, "rt", encoding="utf-8") as f:
        c.expect('"Quillmark %s"' % version in f.read(), "the manual page does not name this version")


def main():
    missing = missing_tools(("desktop-file-validate", "appstreamcli", "man"))
    if missing:
        return skipped(missing)
    c = Failures()
    with tempfile.TemporaryDirectory(prefix="quillmark-install-") as prefix:
        install = subprocess.run([args.cmake, "--install", args.build, "--prefix", prefix],
                                 capture_output=True, text=True)
        if install.returncode != 0:
            print("cmake --install failed:\n" + install.stdout + install.stderr)
            return 1
        for program in ("quillmark", "quillmark-cli"):
            c.expect(os.access(os.path.join(prefix, "bin", program), os.X_OK), program + " is not installed")
        check_desktop_entry(c, prefix, args.app_id)
        check_icons(c, prefix, args.app_id)
        check_metainfo(c, prefix, args.app_id, args.version)
        check_man_page(c, prefix, args.version)
    return finished(c)


if __name__ == "__main__":
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--cmake", required=True)
    parser.add_argument("--build", required=True)
    parser.add_argument("--app-id", required=True)
    parser.add_argument("--version", required=True)
    args = parser.parse_args()
    sys.exit(main())
