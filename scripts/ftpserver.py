#!/usr/bin/python3
"""FTP side of a simulated device, on pyftpdlib.

Two accounts share one access code as password:
  "Quarrant"  - home ROOT, which always holds the folder "CONFIG" for definition files;
  "Corvantix" - home ROOT/firmware, where firmware files are uploaded.

Once listening, the script prints exactly one line "ftp port=N" on stdout (flushed) and
nothing else there, so a caller may stop reading stdout after it. Diagnostics go to stderr.
With --on-upload-command, every completed upload runs that command with the uploaded file's
absolute path appended as the last argument (user in QUARRANT_FTP_USER); the command runs in
the background so the server keeps serving. With --anonymous-root the server also stands in for an update server: anonymous
logins (any password) read that folder. With --exit-with-stdin the server stops when its
standard input closes, so it never outlives a parent that died without stopping it.
Set QUARRANT_FTP_LOG=INFO in the environment to log every FTP command on stderr.
Run it with Debian's interpreter (/usr/bin/python3), which sees python3-pyftpdlib.
"""

import argparse
import logging
import os
import shlex
import subprocess
import sys
import threading

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer

FULL_RIGHTS = "elradfmwMT"


def parse_args(argv):
    parser = argparse.ArgumentParser(description="FTP server of a simulated device")
    parser.add_argument("--host", default="127.0.0.1", help="address to bind (default 127.0.0.1)")
    parser.add_argument("--port", type=int, default=0, help="port, 0 for an ephemeral one")
    parser.add_argument("--root", required=True, help="device file system root")
    parser.add_argument("--access-code", required=True, help="password of both accounts")
    parser.add_argument("--auth-failed-timeout", type=float, default=3.0,
                        help="seconds before a refused login is answered")
    parser.add_argument("--idle-timeout", type=int, default=300,
                        help="seconds before an idle control connection is closed")
    parser.add_argument("--on-upload-command", default=None,
                        help="command run after each upload, with the file path appended")
    parser.add_argument("--anonymous-root", default=None,
                        help="also accept anonymous logins, read-only, in this folder")
    parser.add_argument("--exit-with-stdin", action="store_true",
                        help="stop when standard input reaches end of file")
    return parser.parse_args(argv)


def run_upload_command(command, path, user):
    env = dict(os.environ)
    env["QUARRANT_FTP_USER"] = user
    try:
        child = subprocess.Popen(shlex.split(command) + [path], env=env,
                                 stdin=subprocess.DEVNULL, stdout=sys.stderr.fileno())
    except OSError as error:
        logging.error("upload command failed to start: %s", error)
        return
    # Reap the child in the background; the FTP loop must not wait for it.
    threading.Thread(target=child.wait, daemon=True).start()


def make_handler(args):
    class DeviceFtpHandler(FTPHandler):
        auth_failed_timeout = args.auth_failed_timeout
        timeout = args.idle_timeout
        banner = "Quarrant device FTP ready."

        def on_file_received(self, file):
            if args.on_upload_command:
                run_upload_command(args.on_upload_command, os.path.abspath(file),
                                   self.username or "")

    authorizer = DummyAuthorizer()
    root = os.path.abspath(args.root)
    firmware = os.path.join(root, "firmware")
    os.makedirs(os.path.join(root, "CONFIG"), exist_ok=True)
    os.makedirs(firmware, exist_ok=True)
    authorizer.add_user("Quarrant", args.access_code, root, perm=FULL_RIGHTS)
    authorizer.add_user("Corvantix", args.access_code, firmware, perm=FULL_RIGHTS)
    if args.anonymous_root:
        authorizer.add_anonymous(os.path.abspath(args.anonymous_root))
    DeviceFtpHandler.authorizer = authorizer
    return DeviceFtpHandler


def watch_stdin():
    try:
        while sys.stdin.buffer.read(4096):
            pass
    except (OSError, ValueError):
        pass
    # The I/O loop is not thread-safe; leave at once rather than closing it from here.
    os._exit(0)


def main(argv):
    args = parse_args(argv)
    logging.basicConfig(stream=sys.stderr, level=getattr(logging, os.environ.get("QUARRANT_FTP_LOG", "WARNING")))
    handler = make_handler(args)
    server = FTPServer((args.host, args.port), handler)
    sys.stdout.write("ftp port=%d\n" % server.address[1])
    sys.stdout.flush()
    if args.exit_with_stdin:
        threading.Thread(target=watch_stdin, daemon=True).start()
    try:
        server.serve_forever(handle_exit=True)
    finally:
        server.close_all()
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
