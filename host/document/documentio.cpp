#include "documentio.h"

#include "documentbackend.h"
#include "ofdbackend.h"
#include "pdfbackend.h"
#include "readerdocument.h"

#include <QFile>
#include <QFileInfo>

namespace DocumentIO
{

IG_Document* CreateBlank(const QList<CCA_GSize>& pageSizes, const QList<int>& rotations)
{
    auto* doc = new ReaderDocument();
    for (int i = 0; i < pageSizes.size(); ++i)
        doc->AppendPage(pageSizes.at(i), i < rotations.size() ? rotations.at(i) : 0);
    return doc;
}

IG_Document* Open(const QString& path, QString* error)
{
    return Open(path, QString(), error, nullptr);
}

IG_Document* Open(const QString& path, const QString& password, QString* error,
                  bool* passwordNeeded)
{
    if (passwordNeeded)
        *passwordNeeded = false;
    if (path.isEmpty()) {
        if (error)
            *error = QStringLiteral("No file name was given.");
        return nullptr;
    }
    // The content decides, not the name: a zip package is OFD, anything else is tried as PDF.
    // A file named .ofd that is not a zip says so rather than "not a PDF".
    QFile file(path);
    const QByteArray head = file.open(QIODevice::ReadOnly) ? file.read(4) : QByteArray();
    file.close();
    const bool ofdName =
        QFileInfo(path).suffix().compare(QLatin1String("ofd"), Qt::CaseInsensitive) == 0;
    if (head == QByteArray("PK\x03\x04", 4) || (ofdName && !head.startsWith("%PDF")))
        return OfdBackend::Open(path, error).release();
    return PdfBackend::Open(path, password, error, passwordNeeded).release();
}

bool CheckDrawable(IG_Document* doc, QString* error)
{
    auto* model = dynamic_cast<ReaderDocument*>(doc);
    if (!model || !model->Backend() || model->Backend()->CanDraw())
        return true;
    if (error)
        *error = QStringLiteral("The file %1 cannot be displayed.").arg(model->Path());
    return false;
}

} // namespace DocumentIO
