#!/usr/bin/env python3
"""A local relay for a PostgreSQL Unix socket that holds back what the client sends by DELAY
milliseconds, so every round trip costs DELAY more (the server's answers pass at once).

Usage: delay_proxy.py SERVER_SOCKET PROXY_SOCKET DELAY_MS
A client then connects with host=<folder of PROXY_SOCKET> and the server's port, for a
PROXY_SOCKET named .s.PGSQL.<port>. Bytes keep their order; the delay is slept with
time.sleep (microseconds), not rounded to an event loop's millisecond ticks.
"""
import os
import queue
import socket
import sys
import threading
import time


def pump_delayed(src, dst, delay):
    pending = queue.Queue()

    def writer():
        while True:
            due, data = pending.get()
            if data is None:
                break
            wait = due - time.monotonic()
            if wait > 0:
                time.sleep(wait)
            try:
                dst.sendall(data)
            except OSError:
                break
        dst.shutdown(socket.SHUT_WR)

    t = threading.Thread(target=writer, daemon=True)
    t.start()
    while True:
        try:
            data = src.recv(1 << 16)
        except OSError:
            data = b""
        pending.put((time.monotonic() + delay, data or None))
        if not data:
            break


def pump(src, dst):
    while True:
        try:
            data = src.recv(1 << 16)
        except OSError:
            data = b""
        if not data:
            break
        try:
            dst.sendall(data)
        except OSError:
            break
    try:
        dst.shutdown(socket.SHUT_WR)
    except OSError:
        pass


def serve(client, server_path, delay):
    upstream = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    upstream.connect(server_path)
    threading.Thread(target=pump_delayed, args=(client, upstream, delay), daemon=True).start()
    threading.Thread(target=pump, args=(upstream, client), daemon=True).start()


def main():
    server_path, proxy_path, delay = sys.argv[1], sys.argv[2], float(sys.argv[3]) / 1000.0
    if os.path.exists(proxy_path):
        os.unlink(proxy_path)
    listener = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    listener.bind(proxy_path)
    listener.listen(64)
    while True:
        client, _ = listener.accept()
        serve(client, server_path, delay)


if __name__ == "__main__":
    main()
