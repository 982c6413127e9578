#!/usr/bin/python3
"""A throw-away FTP server on 127.0.0.1 for the transfer tests.

Prints the port it listens on, then serves until killed or --lifetime ends.
"""
import argparse
import socket
import sys
import threading
import time

parser = argparse.ArgumentParser()
parser.add_argument("--root", required=True)
parser.add_argument("--user", default="apteka")
parser.add_argument("--password", default="secret")
parser.add_argument("--tls-cert")
parser.add_argument("--incoming-perm", default="elradfmw")
parser.add_argument("--unreadable", help="a folder whose files may be listed but not retrieved")
parser.add_argument("--lifetime", type=float, default=120)
parser.add_argument("--silent", action="store_true", help="accept connections and never answer")
args = parser.parse_args()

threading.Timer(args.lifetime, lambda: __import__("os")._exit(3)).start()

if args.silent:
    s = socket.socket()
    s.bind(("127.0.0.1", 0))
    s.listen(8)
    print(s.getsockname()[1], flush=True)
    held = []
    while True:
        conn, _ = s.accept()
        held.append(conn)

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer

authorizer = DummyAuthorizer()
authorizer.add_user(args.user, args.password, args.root, perm="elradfmwMT")
authorizer.override_perm(args.user, args.root + "/incoming", args.incoming_perm, recursive=True)
if args.unreadable:
    authorizer.override_perm(args.user, args.root + "/" + args.unreadable, "el", recursive=True)

handler = FTPHandler
if args.tls_cert:
    from pyftpdlib.handlers import TLS_DTPHandler, TLS_FTPHandler

    class HandshakeFirstDTP(TLS_DTPHandler):
        # libcurl secures the data connection before it sends the transfer
        # command; pyftpdlib would take that early handshake for a hang-up.
        def readable(self):
            if self._ssl_accepting:
                return True
            return super().readable()

    handler = TLS_FTPHandler
    handler.dtp_handler = HandshakeFirstDTP
    handler.certfile = args.tls_cert
    handler.tls_control_required = True
    handler.tls_data_required = True
handler.authorizer = authorizer
handler.permit_foreign_addresses = False
handler.passive_ports = None

server = FTPServer(("127.0.0.1", 0), handler)
print(server.address[1], flush=True)
import logging
logging.basicConfig(level=logging.ERROR)
server.serve_forever(timeout=0.2)
