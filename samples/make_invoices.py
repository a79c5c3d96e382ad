#!/usr/bin/env python3
"""Writes the sample invoices: invoice_1page.pdf and invoice_3pages.pdf carry the invoice's
fields in the document information dictionary; invoice.ofd is a one-page OFD invoice whose
custom tags hold the fields (the seller's name through a reference to the text object that
shows it). Only the standard library.

    python3 samples/make_invoices.py [output folder]   (default: the folder of this script)
"""
import os
import sys
import zipfile

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_samples import A4, pdf_bytes, stream, text_page  # noqa: E402

INVOICES = {
    "invoice_1page.pdf": {
        "pages": 1,
        "InvoiceCode": "033002400111",
        "InvoiceNo": "24332000000012345678",
        "IssueDate": "2024-05-20",
        "SellerName": "杭州青禾印务有限公司",
        "SellerTaxID": "91330106MA2KXYZ12P",
        "BuyerName": "Example Trading Ltd.",
        "BuyerTaxID": "91110108MA01ABCD3E",
        "TotalAmount": "1130.00",
    },
    "invoice_3pages.pdf": {
        "pages": 3,
        "InvoiceCode": "032002400222",
        "InvoiceNo": "24322000000087654321",
        "IssueDate": "2024-06-02",
        "SellerName": "南京同舟商贸有限公司",
        "SellerTaxID": "91320102MA1N8Q7R3T",
        "BuyerName": "Example Trading Ltd.",
        "BuyerTaxID": "91110108MA01ABCD3E",
        "TotalAmount": "56500.00",
    },
}


def pdf_text(value):
    """A PDF text string: UTF-16BE with its byte order mark, in hex."""
    return b"<FEFF" + value.encode("utf-16-be").hex().upper().encode("ascii") + b">"


def invoice_pdf(fields):
    info = b"<< /Producer (stampannot samples) /Title (Invoice)"
    for key in ("InvoiceCode", "InvoiceNo", "IssueDate", "SellerName", "SellerTaxID",
                "BuyerName", "BuyerTaxID", "TotalAmount"):
        info += b" /" + key.encode("ascii") + b" " + pdf_text(fields[key])
    info += b" >>"
    objs = [None, None,
            b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>",
            info]
    kids = []
    count = fields["pages"]
    for i in range(count):
        lines = ["Invoice code %s, number %s, issued %s." % (
            fields["InvoiceCode"], fields["InvoiceNo"], fields["IssueDate"]),
            "Seller tax number %s; buyer %s." % (fields["SellerTaxID"], fields["BuyerName"]),
            "Total with tax: %s." % fields["TotalAmount"]]
        objs.append(stream(b"", text_page(lines, A4, "Invoice, page %d of %d" % (i + 1, count))))
        content = len(objs)
        objs.append(b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 %.3f %.3f]"
                    b" /Resources << /Font << /F1 3 0 R >> >> /Contents %d 0 R >>"
                    % (A4[0], A4[1], content))
        kids.append(len(objs))
    objs[0] = b"<< /Type /Catalog /Pages 2 0 R >>"
    objs[1] = b"<< /Type /Pages /Count %d /Kids [%s] >>" % (
        count, b" ".join(b"%d 0 R" % k for k in kids))
    return pdf_bytes(objs, root=1, info=4)


NS = 'xmlns:ofd="http://www.ofdspec.org/2016"'


def invoice_ofd(path):
    seller = "杭州青禾印务有限公司"
    parts = {
        "OFD.xml": '<ofd:OFD %s Version="1.0" DocType="OFD"><ofd:DocBody><ofd:DocInfo>'
                   '<ofd:DocID>5c1d0e2a9b7f4e61a3c2d8e9f0a1b2c3</ofd:DocID></ofd:DocInfo>'
                   '<ofd:DocRoot>Doc_0/Document.xml</ofd:DocRoot></ofd:DocBody></ofd:OFD>' % NS,
        "Doc_0/Document.xml": '<ofd:Document %s><ofd:CommonData><ofd:MaxUnitID>12</ofd:MaxUnitID>'
                              '<ofd:PageArea><ofd:PhysicalBox>0 0 210 140</ofd:PhysicalBox>'
                              '</ofd:PageArea><ofd:PublicRes>PublicRes.xml</ofd:PublicRes>'
                              '</ofd:CommonData><ofd:Pages><ofd:Page ID="1" '
                              'BaseLoc="Pages/Page_0/Content.xml"/></ofd:Pages>'
                              '<ofd:CustomTags>Tags/CustomTags.xml</ofd:CustomTags>'
                              '</ofd:Document>' % NS,
        "Doc_0/PublicRes.xml": '<ofd:Res %s BaseLoc="Res"><ofd:Fonts><ofd:Font ID="2" '
                               'FontName="SimSun" FamilyName="SimSun"/></ofd:Fonts></ofd:Res>' % NS,
        "Doc_0/Pages/Page_0/Content.xml":
            '<ofd:Page %s><ofd:Content><ofd:Layer ID="3" Type="Body">'
            '<ofd:PathObject ID="4" Boundary="5 5 200 130" LineWidth="0.5">'
            '<ofd:StrokeColor Value="128 0 0"/><ofd:AbbreviatedData>M 0 0 L 200 0 L 200 130 '
            'L 0 130 C</ofd:AbbreviatedData></ofd:PathObject>'
            '<ofd:TextObject ID="5" Boundary="20 20 120 8" Font="2" Size="5">'
            '<ofd:FillColor Value="0 0 0"/><ofd:TextCode X="0" Y="5">%s</ofd:TextCode>'
            '</ofd:TextObject>'
            '<ofd:TextObject ID="6" Boundary="20 32 120 8" Font="2" Size="4">'
            '<ofd:TextCode X="0" Y="4">No. 24332000000099990001</ofd:TextCode></ofd:TextObject>'
            '</ofd:Layer></ofd:Content></ofd:Page>' % (NS, seller),
        "Doc_0/Tags/CustomTags.xml": '<ofd:CustomTags %s><ofd:CustomTag NameSpace='
                                     '"http://www.example.com/invoice">'
                                     '<ofd:FileLoc>CustomTag.xml</ofd:FileLoc></ofd:CustomTag>'
                                     '</ofd:CustomTags>' % NS,
        "Doc_0/Tags/CustomTag.xml": '<fp:eInvoice xmlns:fp="http://www.example.com/invoice">'
                                    '<fp:InvoiceNo>24332000000099990001</fp:InvoiceNo>'
                                    '<fp:IssueDate>2024-07-01</fp:IssueDate>'
                                    '<fp:SellerName><fp:ObjectRef PageRef="1">5</fp:ObjectRef>'
                                    '</fp:SellerName>'
                                    '<fp:SellerTaxID>91330106MA2KXYZ12P</fp:SellerTaxID>'
                                    '<fp:TotalAmount>88.00</fp:TotalAmount></fp:eInvoice>',
    }
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
        for name, text in parts.items():
            info = zipfile.ZipInfo(name, date_time=(2024, 7, 1, 0, 0, 0))
            info.compress_type = zipfile.ZIP_DEFLATED
            z.writestr(info, ('<?xml version="1.0" encoding="UTF-8"?>' + text).encode("utf-8"))


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    os.makedirs(out, exist_ok=True)
    for name, fields in INVOICES.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(invoice_pdf(fields))
    invoice_ofd(os.path.join(out, "invoice.ofd"))


if __name__ == "__main__":
    main()
