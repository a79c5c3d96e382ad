#include "ofdpackage.h"

#include <QBuffer>
#include <QFile>
#include <QStringList>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

OfdPackage::OfdPackage() = default;

OfdPackage::~OfdPackage()
{
    if (m_zip)
        m_zip->close();
}

bool OfdPackage::OpenFile(const QString& path, QString* error)
{
    m_device = std::make_unique<QFile>(path);
    return Index(error);
}

bool OfdPackage::OpenBytes(const QByteArray& bytes, QString* error)
{
    auto buffer = std::make_unique<QBuffer>();
    buffer->setData(bytes);
    m_device = std::move(buffer);
    return Index(error);
}

bool OfdPackage::Index(QString* error)
{
    auto fail = [error](const QString& message) {
        if (error)
            *error = message;
        return false;
    };
    m_zip = std::make_unique<QuaZip>(m_device.get());
    if (!m_zip->open(QuaZip::mdUnzip))
        return fail(QStringLiteral("it is not a zip package"));
    if (m_zip->getEntriesCount() > kMaxEntries)
        return fail(QStringLiteral("it lists more than %1 parts").arg(kMaxEntries));
    // Walk the central directory once; the names are all a lookup needs later.
    for (bool more = m_zip->goToFirstFile(); more; more = m_zip->goToNextFile()) {
        const QString name = m_zip->getCurrentFileName();
        m_names.insert(name, name);
        m_lowerNames.insert(name.toLower(), name);
        if (m_names.size() > kMaxEntries)
            return fail(QStringLiteral("it lists more than %1 parts").arg(kMaxEntries));
    }
    if (m_zip->getZipError() != 0)
        return fail(QStringLiteral("its list of parts is damaged"));
    return true;
}

QString OfdPackage::Resolve(const QString& from, const QString& reference)
{
    QString ref = reference.trimmed();
    ref.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (ref.isEmpty())
        return QString();
    QStringList parts;
    if (!ref.startsWith(QLatin1Char('/'))) {
        parts = from.split(QLatin1Char('/'), Qt::SkipEmptyParts);
        if (!parts.isEmpty())
            parts.removeLast(); // the referring part's own name
    }
    const QStringList steps = ref.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString& step : steps) {
        if (step == QLatin1String("."))
            continue;
        if (step == QLatin1String("..")) {
            if (parts.isEmpty())
                return QString(); // above the package root
            parts.removeLast();
            continue;
        }
        parts.append(step);
    }
    return parts.join(QLatin1Char('/'));
}

bool OfdPackage::Contains(const QString& name) const
{
    return m_names.contains(name) || m_lowerNames.contains(name.toLower());
}

bool OfdPackage::Read(const QString& name, QByteArray* out, QString* error)
{
    auto fail = [error, &name](const QString& why) {
        if (error)
            *error = QStringLiteral("the part %1 %2").arg(name, why);
        return false;
    };
    out->clear();
    if (!m_zip)
        return fail(QStringLiteral("cannot be read"));
    QString real = m_names.value(name);
    if (real.isEmpty())
        real = m_lowerNames.value(name.toLower());
    if (real.isEmpty())
        return fail(QStringLiteral("is missing"));
    if (!m_zip->setCurrentFile(real, QuaZip::csSensitive))
        return fail(QStringLiteral("cannot be found"));
    QuaZipFile file(m_zip.get());
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot be opened"));
    // The sizes in the zip's headers may lie: count what is really inflated.
    char chunk[64 * 1024];
    for (;;) {
        const qint64 n = file.read(chunk, sizeof chunk);
        if (n < 0) {
            file.close();
            return fail(QStringLiteral("is damaged"));
        }
        if (n == 0)
            break;
        out->append(chunk, int(n));
        m_readTotal += n;
        if (out->size() > kMaxPartBytes || m_readTotal > kMaxTotalBytes) {
            file.close();
            out->clear();
            return fail(QStringLiteral("is too large"));
        }
    }
    file.close();
    if (file.getZipError() != 0) // a wrong checksum shows only when closing
        return fail(QStringLiteral("is damaged"));
    return true;
}
