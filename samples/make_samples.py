#!/usr/bin/env python3
"""Writes the sample documents and stamp pictures used by the tests, the benchmark and the
demo. Only the standard library: raw PDF objects and a small PNG encoder.

    python3 samples/make_samples.py [output folder]   (default: the folder of this script)
"""
import math
import os
import struct
import sys
import zlib

A4 = (595.276, 841.89)


def pdf_bytes(objects, root=1, info=None):
    """objects: list of bytes bodies, numbered from 1. Returns a complete PDF file."""
    out = bytearray(b"%PDF-1.7\n%\xe2\xe3\xcf\xd3\n")
    offsets = []
    for i, body in enumerate(objects, start=1):
        offsets.append(len(out))
        out += b"%d 0 obj\n" % i + body + b"\nendobj\n"
    xref = len(out)
    out += b"xref\n0 %d\n0000000000 65535 f \n" % (len(objects) + 1)
    for off in offsets:
        out += b"%010d 00000 n \n" % off
    trailer = b"<< /Size %d /Root %d 0 R" % (len(objects) + 1, root)
    if info:
        trailer += b" /Info %d 0 R" % info
    out += b"trailer\n" + trailer + b" >>\nstartxref\n%d\n%%%%EOF\n" % xref
    return bytes(out)


def stream(dict_body, data):
    return b"<< " + dict_body + b" /Length %d >>\nstream\n" % len(data) + data + b"\nendstream"


def esc(text):
    return text.replace("\\", "\\\\").replace("(", "\\(").replace(")", "\\)").encode("latin-1")


def text_page(lines, size, title):
    w, h = size
    ops = [b"0.2 0.2 0.5 RG 1.5 w 56 %.2f m %.2f %.2f l S" % (h - 80, w - 56, h - 80)]
    ops.append(b"BT /F1 20 Tf 56 %.2f Td (%s) Tj ET" % (h - 70, esc(title)))
    y = h - 120
    for line in lines:
        ops.append(b"BT /F1 11 Tf 56 %.2f Td (%s) Tj ET" % (y, esc(line)))
        y -= 16
    # A grey box near the bottom right, where stamps usually go: tests check that a stamp
    # drawn over it shows its own colour.
    ops.append(b"0.85 g %.2f 40 150 100 re f" % (w - 206))
    return b"\n".join(ops) + b"\n"


def make_doc(pages, extra_objects=None):
    """pages: list of dicts with 'size', 'content', optional 'rotate', 'annots' (object
    numbers relative to extra objects). Returns PDF bytes."""
    objs = []
    objs.append(None)  # 1 catalog
    objs.append(None)  # 2 pages
    objs.append(b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>")  # 3
    objs.append(b"<< /Producer (stampannot samples) /Title (Sample) >>")  # 4 info
    kids = []
    extra = extra_objects or []
    first_extra = 5
    objs.extend(extra)
    for p in pages:
        content_no = len(objs) + 1
        objs.append(stream(b"", p["content"]))
        page_no = len(objs) + 1
        w, h = p["size"]
        body = b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 %.3f %.3f]" % (w, h)
        body += b" /Resources << /Font << /F1 3 0 R >> >> /Contents %d 0 R" % content_no
        if p.get("crop"):
            body += b" /CropBox [%.3f %.3f %.3f %.3f]" % p["crop"]
        if p.get("rotate"):
            body += b" /Rotate %d" % p["rotate"]
        if p.get("annots"):
            body += b" /Annots [" + b" ".join(b"%d 0 R" % (first_extra + a) for a in p["annots"]) + b"]"
        body += b" >>"
        objs.append(body)
        kids.append(page_no)
    objs[0] = b"<< /Type /Catalog /Pages 2 0 R >>"
    objs[1] = b"<< /Type /Pages /Count %d /Kids [%s] >>" % (
        len(kids), b" ".join(b"%d 0 R" % k for k in kids))
    return pdf_bytes(objs, root=1, info=4)


CONTRACT = [
    "This agreement is made between the Buyer and the Seller named below.",
    "1. The Seller delivers the goods listed in the annex within thirty days.",
    "2. The Buyer pays the price within fifteen days of delivery.",
    "3. Either party may end this agreement by written notice.",
    "4. This agreement is governed by the law of the place of signature.",
    "",
    "Signed for the Buyer:                         Signed for the Seller:",
]


def png_bytes(width, height, pixel, dpi=None):
    """pixel(x, y) -> (r, g, b, a). RGBA PNG, optionally with a pHYs chunk."""
    raw = bytearray()
    for y in range(height):
        raw.append(0)
        for x in range(width):
            raw.extend(pixel(x, y))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(
            ">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    out = b"\x89PNG\r\n\x1a\n"
    out += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
    if dpi:
        ppm = int(round(dpi / 0.0254))
        out += chunk(b"pHYs", struct.pack(">IIB", ppm, ppm, 1))
    out += chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    out += chunk(b"IEND", b"")
    return out


def seal_pixel(width, height, colour):
    cx, cy = (width - 1) / 2.0, (height - 1) / 2.0
    rx, ry = width / 2.0 - 2, height / 2.0 - 2
    star = []
    for k in range(10):
        ang = -math.pi / 2 + k * math.pi / 5
        r = 0.38 if k % 2 == 0 else 0.15
        star.append((cx + r * rx * math.cos(ang), cy + r * ry * math.sin(ang)))

    def inside_star(x, y):
        c = False
        j = len(star) - 1
        for i in range(len(star)):
            xi, yi = star[i]
            xj, yj = star[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                c = not c
            j = i
        return c

    def pixel(x, y):
        d = ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2
        ring = 0.80 <= d <= 1.0
        inner = 0.62 <= d <= 0.66
        if ring or inner or inside_star(x, y):
            return (colour[0], colour[1], colour[2], 255)
        if d < 1.0:
            # a faint wash inside, so that alpha between 0 and 255 is exercised
            return (colour[0], colour[1], colour[2], 24)
        return (0, 0, 0, 0)

    return pixel


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    os.makedirs(out, exist_ok=True)

    def write(name, data):
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)

    pages = [{"size": A4, "content": text_page(CONTRACT, A4, "Sales contract, page %d" % (i + 1))}
             for i in range(3)]
    write("contract.pdf", make_doc(pages))

    land = (A4[1], A4[0])
    write("landscape.pdf", make_doc([{"size": land, "content": text_page(
        ["A landscape page: wider than high."], land, "Landscape")}]))

    write("rotated.pdf", make_doc([{"size": A4, "rotate": 90, "content": text_page(
        ["A portrait page shown turned by 90 degrees (/Rotate 90)."], A4, "Rotated")}]))

    # A page with a stamp made by another program (a vector appearance with a box that is
    # not the unit square) and a link annotation that the reader must keep as it is.
    ap = stream(b"/Type /XObject /Subtype /Form /BBox [0 0 100 50]",
                b"0 0.4 0.9 rg 0 0 100 50 re f 1 1 1 rg 10 10 80 30 re f 0 0.4 0.9 rg 20 20 60 10 re f")
    extra = [
        ap,  # 5
        b"<< /Type /Annot /Subtype /Stamp /Rect [350 100 450 150] /F 4 /AP << /N 5 0 R >>"
        b" /T (Alice) /Subj (Approved) /NM (foreign-stamp-1) /CreationDate (D:20240102030405+01'00')"
        b" /M (D:20240102030405+01'00') /Name /Approved >>",  # 6
        b"<< /Type /Annot /Subtype /Link /Rect [56 700 300 720] /Border [0 0 0]"
        b" /A << /S /URI /URI (http://localhost/) >> >>",  # 7
    ]
    write("stamped.pdf", make_doc([{"size": A4, "annots": [1, 2], "content": text_page(
        ["A page with an approval stamp and a link, both made elsewhere."], A4, "Stamped")}],
        extra_objects=extra))

    # A page whose crop box (what readers show) is offset from its media box, with a stamp
    # made elsewhere as its only annotation.
    media = (A4[0] + 100, A4[1] + 100)
    crop = (60, 40, 60 + A4[0], 40 + A4[1])
    write("cropped.pdf", make_doc([{"size": media, "crop": crop, "annots": [1], "content": text_page(
        ["The crop box starts 60 pt right and 40 pt above the media box's corner."], media,
        "Cropped")}], extra_objects=[
        ap,  # 5
        b"<< /Type /Annot /Subtype /Stamp /Rect [400 150 500 200] /F 4 /AP << /N 5 0 R >>"
        b" /T (Bob) /Subj (Received) /NM (foreign-stamp-2) /Name /Approved >>",  # 6
    ]))

    write("seal_red.png", png_bytes(473, 355, seal_pixel(473, 355, (220, 30, 30)), dpi=300))
    write("seal_blue_nodpi.png", png_bytes(236, 177, seal_pixel(236, 177, (30, 60, 220))))


if __name__ == "__main__":
    main()
