#!/usr/bin/env python3
"""A local HTTPS server that stands in for the statistics server in tests.

It listens on 127.0.0.1, records every request as one JSON line (method, path,
headers, body) and answers each with the same configured status and body.

    report_server.py --dir DIR [--port 0] [--status 200] [--body TEXT]
                     [--delay SECONDS]

DIR receives cert.pem and key.pem (made with the openssl command line tool
when missing; cert.pem is the certificate to trust, for example through
OSTREL_STAT_CA_FILE together with OSTREL_STAT_BASE=https://127.0.0.1:PORT)
and requests.jsonl, which grows by one line per request, written before the
answer goes out. Once listening the server prints "PORT <number>" on its own
line and flushes; port 0 picks a free one. It runs until it gets SIGTERM or
SIGINT.
"""

import argparse
import http.server
import json
import os
import signal
import ssl
import subprocess
import sys
import threading
import time


def make_certificate(directory):
    cert = os.path.join(directory, "cert.pem")
    key = os.path.join(directory, "key.pem")
    if os.path.exists(cert) and os.path.exists(key):
        return cert, key
    subprocess.run(
        ["openssl", "req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
         "-nodes", "-days", "2", "-subj", "/CN=127.0.0.1",
         "-addext", "subjectAltName=IP:127.0.0.1,DNS:localhost",
         "-keyout", key + ".tmp", "-out", cert + ".tmp"],
        check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.replace(key + ".tmp", key)
    os.replace(cert + ".tmp", cert)
    return cert, key


def make_handler(options, log_lock):
    class Handler(http.server.BaseHTTPRequestHandler):
        protocol_version = "HTTP/1.1"

        def log_message(self, *args):
            pass

        def answer(self):
            length = int(self.headers.get("Content-Length") or 0)
            body = self.rfile.read(length) if length > 0 else b""
            record = {
                "method": self.command,
                "path": self.path,
                "headers": {name: value for name, value in self.headers.items()},
                "body": body.decode("utf-8", "backslashreplace"),
            }
            with log_lock:
                with open(options.log, "a", encoding="utf-8") as log:
                    log.write(json.dumps(record) + "\n")
            if options.delay > 0:
                time.sleep(options.delay)
            payload = options.body.encode("utf-8")
            self.send_response(options.status)
            self.send_header("Content-Type", "application/json")
            self.send_header("Content-Length", str(len(payload)))
            self.end_headers()
            self.wfile.write(payload)

        do_POST = answer
        do_GET = answer

    return Handler


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--dir", required=True)
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--status", type=int, default=200)
    parser.add_argument("--body", default="")
    parser.add_argument("--delay", type=float, default=0.0)
    options = parser.parse_args()
    os.makedirs(options.dir, exist_ok=True)
    options.log = os.path.join(options.dir, "requests.jsonl")
    cert, key = make_certificate(options.dir)

    server = http.server.ThreadingHTTPServer(("127.0.0.1", options.port),
                                             make_handler(options, threading.Lock()))
    server.daemon_threads = True
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(cert, key)
    server.socket = context.wrap_socket(server.socket, server_side=True)

    def stop(*_):
        threading.Thread(target=server.shutdown, daemon=True).start()

    signal.signal(signal.SIGTERM, stop)
    signal.signal(signal.SIGINT, stop)
    print("PORT %d" % server.server_address[1], flush=True)
    server.serve_forever(poll_interval=0.05)
    server.server_close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
