"""Reads a file the XLS writer made with xlrd, independently of the writer, and
prints what it found as JSON.

  xlrd_dump.py book FILE           sheets, non-empty cells, bold rows, widths,
                                   the DIMENSIONS record
  xlrd_dump.py stream FILE NAME    size and SHA-256 of one compound file stream

Both also report container sectors that no chain uses or that the FAT marks
wrongly, and every warning xlrd logged; book also checks the EXTSST index,
which xlrd itself skips.
"""
import hashlib
import io
import json
import struct
import sys

import xlrd
from xlrd import compdoc


# What xlrd's seen array records for a sector, and the FAT mark each kind needs.
SEEN_DIFAT, SEEN_FAT = 1, 2
FAT_MARKS = {SEEN_DIFAT: -4, SEEN_FAT: -3}


def container(data, stream_name, log):
    """The stream, and the sectors no chain uses or whose FAT mark is wrong."""
    doc = compdoc.CompDoc(data, logfile=log)
    stream = doc.get_named_stream(stream_name)
    if stream is None:
        raise SystemExit("no stream named %r" % stream_name)
    problems = ["sector %d unused" % i for i, s in enumerate(doc.seen) if s == 0]
    problems += ["sector %d marked %d" % (i, doc.SAT[i]) for i, s in enumerate(doc.seen)
                 if s in FAT_MARKS and doc.SAT[i] != FAT_MARKS[s]]
    problems += ["FAT entry %d past the file" % i for i in range(len(doc.seen), len(doc.SAT))
                 if doc.SAT[i] != -1]
    return stream, problems


def records(stream):
    """(id, position, data) of every record up to the last EOF."""
    pos = 0
    while pos + 4 <= len(stream):
        rid, size = struct.unpack("<HH", stream[pos:pos + 4])
        if rid == 0 and size == 0:
            return  # padding after the last EOF
        yield rid, pos, stream[pos + 4:pos + 4 + size]
        pos += 4 + size


def dimensions(stream):
    """First row, row past the last, first column, column past the last."""
    for rid, _, data in records(stream):
        if rid == 0x0200:
            return list(struct.unpack("<IIHH", data[:12]))
    return None


def extsst_problems(stream, strings):
    """Checks that every EXTSST bucket points at the start of its first string."""
    sst_records, in_sst, ext = set(), False, None
    for rid, pos, data in records(stream):
        in_sst = rid == 0x00FC or (rid == 0x003C and in_sst)
        if in_sst:
            sst_records.add(pos)
        elif rid == 0x00FF:
            ext = data
            break
    if ext is None:
        return ["no EXTSST"]
    per_bucket = struct.unpack("<H", ext[:2])[0]
    buckets = [struct.unpack("<IHH", ext[i:i + 8]) for i in range(2, len(ext), 8)]
    problems = []
    if per_bucket < 8 or len(buckets) != (len(strings) + per_bucket - 1) // per_bucket:
        problems.append("%d buckets of %d for %d strings" % (len(buckets), per_bucket, len(strings)))
    for k, (at, offset, _) in enumerate(buckets):
        text = strings[k * per_bucket]
        count, options = struct.unpack("<HB", stream[at:at + 3])
        first = text[:1].encode("utf_16_le" if options & 1 else "latin_1")
        if (at - offset not in sst_records or count != len(text.encode("utf_16_le")) // 2
                or stream[at + 3:at + 3 + len(first)] != first):
            problems.append("bucket %d" % k)
    return problems


def book(path):
    data = open(path, "rb").read()
    log = io.StringIO()
    workbook, container_problems = container(data, "Workbook", log)
    wb = xlrd.open_workbook(file_contents=data, formatting_info=True,
                            ragged_rows=True, on_demand=True, logfile=log)
    sheets = []
    strings = wb._sharedstrings  # on demand keeps them until the book is released
    for sh in wb.sheets():
        cells = []
        for r in range(sh.nrows):
            for c in range(sh.row_len(r)):
                cell = sh.cell(r, c)
                if cell.ctype in (xlrd.XL_CELL_EMPTY, xlrd.XL_CELL_BLANK):
                    continue
                font = wb.font_list[wb.xf_list[cell.xf_index].font_index]
                cells.append([r, c, cell.ctype, cell.value, bool(font.bold)])
        widths = {str(c): info.width for c, info in sh.colinfo_map.items()}
        sheets.append({"name": sh.name, "nrows": sh.nrows, "ncols": sh.ncols,
                       "cells": cells, "widths": widths})
    return {"sheets": sheets, "containerProblems": container_problems, "log": log.getvalue(),
            "extsstProblems": extsst_problems(workbook, strings),
            "dimensions": dimensions(workbook)}


def stream(path, name):
    data = open(path, "rb").read()
    log = io.StringIO()
    content, container_problems = container(data, name, log)
    return {"size": len(content), "sha256": hashlib.sha256(content).hexdigest(),
            "containerProblems": container_problems, "log": log.getvalue()}


if __name__ == "__main__":
    mode = sys.argv[1]
    result = book(sys.argv[2]) if mode == "book" else stream(sys.argv[2], sys.argv[3])
    json.dump(result, sys.stdout, ensure_ascii=True)
