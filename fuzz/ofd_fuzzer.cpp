// Feeds arbitrary bytes to the OFD package reader as a package, and draws the pages of
// whatever it accepts, small, so the drawing of what was read is exercised too.
#include "host/document/ofdpackage.h"
#include "host/document/ofdreader.h"
#include "host/document/ofdrender.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstddef>
#include <cstdint>

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
    OfdPackage package;
    OfdDocumentData doc;
    QString error;
    const QByteArray bytes(reinterpret_cast<const char*>(data), int(size));
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
