"""A feed publisher on a loopback address for the refresh checks: it serves the feeds it is given,
each with an ETag and a Last-Modified date, answers a conditional request for a feed that has not
changed with 304 Not Modified, and records every request with the conditional headers it carried.
A feed given as DRIP sends one byte a second and never ends, one given as FLOOD sends 65 MiB without
saying its length first; a path it does not hold is a 404."""

import email.utils
import hashlib
import http.server
import threading
import time

DRIP = "drip"
FLOOD = "flood"


def rss(*titles):
    """An RSS 2.0 feed of the titles, the first the newest."""
    items = "".join("<item><title>%s</title><pubDate>%s</pubDate></item>"
                    % (title, email.utils.formatdate(1.7e9 - n * 3600, usegmt=True))
                    for n, title in enumerate(titles))
    return ("<?xml version=\"1.0\"?><rss version=\"2.0\"><channel><title>Loopback</title>%s</channel></rss>"
            % items).encode()


class Request:
    def __init__(self, path, headers, status):
        self.path = path
        self.if_none_match = headers.get("If-None-Match")
        self.if_modified_since = headers.get("If-Modified-Since")
        self.user_agent = headers.get("User-Agent", "")
        self.status = status


class FeedServer(http.server.ThreadingHTTPServer):
    daemon_threads = True

    def __init__(self, host="127.0.0.1", port=0):
        super().__init__((host, port), Handler)
        self.feeds = {}
        self.requests = []
        self.stopped = threading.Event()

    def handle_error(self, request, client_address):
        pass  # a client that the refresh's time limit cut off

    def put(self, path, body, modified=None):
        """Serves body (bytes, DRIP or FLOOD) at path from now on. A feed's Last-Modified is modified
        (whole seconds since the epoch), or now: a publisher that changes a feed within the second of
        its last version dates both the same, and only the ETag tells them apart."""
        if isinstance(body, bytes):
            modified = int(time.time()) if modified is None else modified
            body = (body, '"%s"' % hashlib.sha256(body).hexdigest()[:16], modified)
        self.feeds[path] = body

    def url(self, path):
        return "http://%s:%d%s" % (self.server_address[0], self.server_address[1], path)

    def served(self, path):
        return [r for r in self.requests if r.path == path]

    def __enter__(self):
        threading.Thread(target=self.serve_forever, daemon=True).start()
        return self

    def __exit__(self, *exc):
        self.stopped.set()
        self.shutdown()
        self.server_close()


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def do_GET(self):
        feed = self.server.feeds.get(self.path)
        if feed is None:
            return self.answer(404, b"not here")
        if feed in (DRIP, FLOOD):
            self.close_connection = True
            self.server.requests.append(Request(self.path, self.headers, 200))
            self.send_response(200)
            self.send_header("Connection", "close")
            self.end_headers()
            try:
                for _ in range(65 * 16):
                    if feed == DRIP and self.server.stopped.wait(1.0):
                        break
                    self.wfile.write(b" " if feed == DRIP else b" " * 65536)
                    self.wfile.flush()
            except OSError:
                pass
            return None
        body, etag, modified = feed
        since = email.utils.parsedate_to_datetime(self.headers["If-Modified-Since"]).timestamp() \
            if self.headers.get("If-Modified-Since") else None
        match = self.headers.get("If-None-Match")
        unchanged = match == etag if match is not None else since is not None and since >= modified
        return self.answer(304 if unchanged else 200, b"" if unchanged else body,
                           ETag=etag, **{"Last-Modified": email.utils.formatdate(modified, usegmt=True)})

    def answer(self, status, body, **headers):
        self.server.requests.append(Request(self.path, self.headers, status))
        self.send_response(status)
        for name, value in headers.items():
            self.send_header(name, value)
        if status != 304:
            self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)
