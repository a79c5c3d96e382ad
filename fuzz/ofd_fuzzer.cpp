// Feeds arbitrary bytes to the OFD package reader and draws the pages of whatever it
// accepts, small, so the drawing of what was read is exercised too.
//
// Two input forms, chosen by the first byte, so that mutations reach every layer:
//   'P' + parts: "name\n" + content, parts separated by "\n--part--\n"; the harness zips
//       them (stored, with correct checksums), so changes land in the XML and pictures;
//   anything else: the bytes after the first are the package itself (zip layer).
// make_seeds.py writes both forms of the sample packages.
#include "host/document/ofdpackage.h"
#include "host/document/ofdreader.h"
#include "host/document/ofdrender.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstddef>
#include <cstdint>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

namespace
{
QByteArray ZipParts(const QByteArray& text)
{
    QByteArray zipped;
    QBuffer buffer(&zipped);
    QuaZip zip(&buffer);
    if (!zip.open(QuaZip::mdCreate))
        return QByteArray();
    int from = 0;
    while (from <= text.size()) {
        int end = text.indexOf("\n--part--\n", from);
        if (end < 0)
            end = text.size();
        const QByteArray part = text.mid(from, end - from);
        const int newline = part.indexOf('\n');
        const QByteArray name = newline < 0 ? part : part.left(newline);
        QuaZipFile file(&zip);
        if (!name.isEmpty() &&
            file.open(QIODevice::WriteOnly, QuaZipNewInfo(QString::fromUtf8(name)), nullptr, 0, 0,
                      0)) {
            if (newline >= 0)
                file.write(part.mid(newline + 1));
            file.close();
        }
        from = end + 10;
    }
    zip.close();
    return zipped;
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/)
{
    // Text needs the font database, which needs an application object.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "ofd_fuzzer";
    static char* argv[] = {name, nullptr};
    new QGuiApplication(argc, argv);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const QByteArray rest(reinterpret_cast<const char*>(data) + 1, int(size - 1));
    const QByteArray bytes = data[0] == 'P' ? ZipParts(rest) : rest;
    OfdPackage package;
    OfdDocumentData doc;
    QString error;
    if (!package.OpenBytes(bytes, &error) || !OfdReader::Read(package, &doc, &error))
        return 0;
    QImage image(48, 48, QImage::Format_ARGB32_Premultiplied);
    for (int i = 0; i < doc.pages.size() && i < 3; ++i) {
        const OfdPageData& page = doc.pages.at(i);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.scale(48 / page.size.width(), 48 / page.size.height());
        OfdRender::DrawPage(&painter, page, doc);
    }
    return 0;
}
