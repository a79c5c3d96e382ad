#!/usr/bin/env python3
"""Writes fuzzer seeds from OFD packages: each package as it is ('Z' + bytes) and as
named parts ('P' + "name\\n" + content, joined by "\\n--part--\\n").

    python3 fuzz/make_seeds.py OUTPUT_FOLDER PACKAGE...
"""
import os
import sys
import zipfile


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    for path in sys.argv[2:]:
        base = os.path.basename(path)
        with open(path, "rb") as f:
            raw = f.read()
        with open(os.path.join(out, base + ".zip-seed"), "wb") as f:
            f.write(b"Z" + raw)
        with zipfile.ZipFile(path) as z:
            parts = [name.encode("utf-8") + b"\n" + z.read(name) for name in z.namelist()]
        with open(os.path.join(out, base + ".parts-seed"), "wb") as f:
            f.write(b"P" + b"\n--part--\n".join(parts))


if __name__ == "__main__":
    main()
