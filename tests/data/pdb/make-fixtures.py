#!/usr/bin/env python3
"""Writes the .pdb fixtures of the record component tests byte by byte,
independently of the program's own writer. Run it from this folder."""
import struct
from datetime import datetime

EPOCH = datetime(1904, 1, 1)


def secs(dt):
    return int((dt - EPOCH).total_seconds())


def value(b):
    return struct.pack(">H", len(b)) + b


NULL = struct.pack(">H", 0xFFFF)


def database(name, fields, records, ids, seed, times=(100, 200, 300), modnum=7):
    block = struct.pack(">HH", 1, len(fields))
    for fname, ftype in fields:
        enc = fname.encode("cp1252")
        block += struct.pack(">HB", ftype, len(enc)) + enc
    list_size = 8 * len(records)
    app_info = 78 + list_size + 2
    offset = app_info + len(block)
    entries = b""
    for rec, rid in zip(records, ids):
        entries += struct.pack(">I", offset) + bytes([0]) + rid.to_bytes(3, "big")
        offset += len(rec)
    header = name.encode("cp1252").ljust(32, b"\0")
    header += struct.pack(">HHIIIIII", 0, 1, times[0], times[1], times[2], modnum,
                          app_info, 0)
    header += b"DATA" + b"SkDB" + struct.pack(">IIH", seed, 0, len(records))
    return header + entries + b"\0\0" + block + b"".join(records)


fields = [("Name", 0), ("Paid", 1), ("Date", 2), ("Time", 3), ("Photo", 5),
          ("Stamp", 6), ("Blob", 9)]
bmp = b"BM" + bytes(range(40))
rec1 = (value("Café €5".encode("cp1252")) + value(b"\x01")
        + value(struct.pack(">I", secs(datetime(1969, 7, 20))))
        + value(struct.pack(">I", secs(datetime(1904, 1, 1, 13, 45, 10))))
        + value(bmp)
        + value(struct.pack(">I", secs(datetime(2039, 12, 31, 23, 59, 59))))
        + value(b"\x01\x02\x03"))
rec2 = NULL * 7
rec3 = value(b"") + value(b"\x00")
with open("every-type.pdb", "wb") as f:
    f.write(database("EveryType", fields, [rec1, rec2, rec3], [5, 9, 12], 13))
