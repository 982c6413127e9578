#!/usr/bin/env python3
"""Builds test packages the way other zip tools (or attackers) write them, and
reads packages back with Python's zipfile.

  package_tool.py make OUT.zip ENTRIES.json   a list of entries
      {"name": text, "raw": hex name bytes (instead of name), "utf8": flag,
       "data": text, "zeros": n, "mode": unix mode, "store": bool,
       "declare": n (size written in the headers instead of the true one)}
  package_tool.py list PACKAGE.zip          one line per entry: name, UTF-8 flag, size, method
"""
import json
import struct
import sys
import zipfile


def make(out, entries):
    patches = []
    with zipfile.ZipFile(out, "w") as z:
        for i, e in enumerate(entries):
            raw = bytes.fromhex(e["raw"]) if "raw" in e else e["name"].encode("utf-8")
            # An ASCII stand-in of the same length, replaced by the raw bytes afterwards.
            placeholder = (("~%d" % i) + "~" * len(raw)).encode()[:len(raw)]
            info = zipfile.ZipInfo(placeholder.decode("ascii"), (2024, 1, 2, 3, 4, 6))
            info.compress_type = zipfile.ZIP_STORED if e.get("store") else zipfile.ZIP_DEFLATED
            if "mode" in e:
                info.create_system = 3
                info.external_attr = e["mode"] << 16
            data = e["data"].encode("utf-8") if "data" in e else bytes(e.get("zeros", 0))
            z.writestr(info, data)
            patches.append((placeholder, raw, e.get("declare"), bool(e.get("utf8"))))
    blob = bytearray(open(out, "rb").read())
    # zipfile sets the flags itself: the UTF-8 flag is patched in like the names.
    for placeholder, raw, declare, utf8 in patches:
        for sig, name_at, size_at, flags_at in ((b"PK\x03\x04", 30, 22, 6), (b"PK\x01\x02", 46, 24, 8)):
            at = 0
            while True:
                at = blob.find(sig, at)
                if at < 0:
                    break
                if blob[at + name_at:at + name_at + len(raw)] == placeholder:
                    blob[at + name_at:at + name_at + len(raw)] = raw
                    if utf8:
                        struct.pack_into("<H", blob, at + flags_at, struct.unpack_from("<H", blob, at + flags_at)[0] | 0x800)
                    if declare is not None:
                        struct.pack_into("<I", blob, at + size_at, declare)
                at += 4
    open(out, "wb").write(bytes(blob))


def list_package(path):
    with zipfile.ZipFile(path) as z:
        bad = z.testzip()
        if bad is not None:
            raise SystemExit("bad CRC in " + bad)
        for info in z.infolist():
            print("%s\t%d\t%d\t%d" % (info.filename, 1 if info.flag_bits & 0x800 else 0, info.file_size,
                                       info.compress_type))


if __name__ == "__main__":
    if sys.argv[1] == "make":
        make(sys.argv[2], json.load(open(sys.argv[3], encoding="utf-8")))
    elif sys.argv[1] == "list":
        list_package(sys.argv[2])
