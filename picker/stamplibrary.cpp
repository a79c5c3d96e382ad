#include "stamplibrary.h"

#include "host/document/g_application.h"
#include "host/utils/nex_dpi.h"
#include "host/utils/nex_path.h"
#include "plugin/stampsettingkeys.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPixmap>
#include <QSettings>
#include <QStandardItemModel>
#include <QStringList>

namespace
{

// A list text as stored: Qt quotes a value holding commas, but a hand-edited file may not,
// and then the value reads back as a string list.
QString readText(QSettings& ini, const QString& key)
{
    const QVariant value = ini.value(key);
    if (value.type() == QVariant::StringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

// The thumbnail box keeps the stored millimetre proportions, not the picture's own.
QSize thumbnailSize(const QSize& mm, const QString& path)
{
    const float box = 86 * Utils::DPI::Nex_Mgr::Instance().Scale();
    QSizeF shape(mm);
    if (shape.width() <= 0 || shape.height() <= 0) {
        // No usable size stored: fall back to the picture's own proportions, else a square.
        const QSize pixels = QImageReader(path).size();
        shape = pixels.isEmpty() ? QSizeF(1, 1) : QSizeF(pixels);
    }
    const float aspect = float(shape.width()) / float(shape.height());
    if (aspect > 1.0f)
        return QSize(int(box), int(box / aspect));
    return QSize(int(aspect * box), int(box));
}

void logLine(const QString& text)
{
    if (G_Logger* logger = G_Application::Instance()->Logger())
        logger->Write(text.toUtf8().constData());
}

} // namespace

StampLibrary::StampLibrary(QObject* owner)
{
    for (QStandardItemModel*& model : m_models)
        model = new QStandardItemModel(owner);
}

QString StampLibrary::IniPath()
{
    return Utils::Nex_Path::UserPath() + QStringLiteral("stamps.ini");
}

QString StampLibrary::StandardFolder()
{
    return Utils::Nex_Path::DataPath() + QStringLiteral("stamps/");
}

QString StampLibrary::UserStampFolder()
{
    return QStringLiteral("%1stamp").arg(Utils::Nex_Path::UserPath());
}

QStandardItemModel* StampLibrary::Model(StampListKind kind) const
{
    return m_models[int(kind)];
}

StampParam StampLibrary::EntryAt(const QAbstractItemModel* list, int row)
{
    if (!list || row < 0 || row >= list->rowCount())
        return StampParam();
    return list->index(row, 0).data(StampParamRole).value<StampParam>();
}

bool StampLibrary::AddStampItem(StampListKind kind, const StampParam& entry)
{
    if (!QFileInfo(entry.imagePath).isFile())
        return false;
    const QSize thumb = thumbnailSize(entry.imageSize, entry.imagePath);
    QPixmap picture(entry.imagePath);
    if (!picture.isNull())
        picture = picture.scaled(thumb, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);

    auto* item = new QStandardItem;
    const int cell = int(110 * Utils::DPI::Nex_Mgr::Instance().Scale());
    item->setSizeHint(QSize(cell, cell));
    item->setData(QVariant::fromValue(entry), StampParamRole);
    item->setData(picture, ThumbnailRole);
    item->setData(kind == StampListKind::Custom, DeletableRole);
    item->setEditable(false);

    bool known = false;
    switch (kind) {
    case StampListKind::Usual:
        Model(kind)->insertRow(0, item);
        known = m_usualPaths.contains(entry.imagePath);
        m_usualPaths.insert(entry.imagePath);
        break;
    case StampListKind::Standard:
        Model(kind)->appendRow(item);
        break;
    case StampListKind::Custom:
        known = m_customPaths.contains(entry.imagePath);
        m_customPaths.insert(entry.imagePath);
        Model(kind)->appendRow(item);
        break;
    }
    return known;
}

void StampLibrary::RemoveRepeatItem(QStandardItemModel* list)
{
    if (list) {
        for (int i = 0; i < list->rowCount(); ++i) {
            const QString path = EntryAt(list, i).imagePath;
            for (int j = list->rowCount() - 1; j > i; --j) {
                if (EntryAt(list, j).imagePath == path)
                    list->removeRow(j);
            }
        }
    }
    QStandardItemModel* usual = Model(StampListKind::Usual);
    if (usual->rowCount() > kUsualLimit)
        usual->removeRows(kUsualLimit, usual->rowCount() - kUsualLimit);
}

void StampLibrary::DeleteItem(QAbstractItemModel* list, const QModelIndex& index)
{
    if (!list || !index.isValid())
        return;
    const QString path = index.data(StampParamRole).value<StampParam>().imagePath;
    list->removeRow(index.row());
    QStandardItemModel* usual = Model(StampListKind::Usual);
    for (int row = 0; row < usual->rowCount(); ++row) {
        if (EntryAt(usual, row).imagePath == path) {
            usual->removeRow(row);
            break;
        }
    }
    m_usualPaths.remove(path);
    m_customPaths.remove(path);
    // Only pictures this library copied are its own to delete.
    if (path.contains(UserStampFolder()))
        QFile::remove(path);
}

void StampLibrary::Load()
{
    QSettings ini(IniPath(), QSettings::IniFormat);
    const bool usualRepeats = loadList(ini, StampListKind::Usual);
    const bool customRepeats = loadList(ini, StampListKind::Custom);
    loadStandard();
    if (usualRepeats)
        RemoveRepeatItem(Model(StampListKind::Usual));
    if (customRepeats)
        RemoveRepeatItem(Model(StampListKind::Custom));
}

bool StampLibrary::loadList(QSettings& ini, StampListKind kind)
{
    const bool usual = kind == StampListKind::Usual;
    QString paths =
        readText(ini, usual ? StampSettingKeys::UsualPath : StampSettingKeys::CustomPath);
    QString sizes =
        readText(ini, usual ? StampSettingKeys::UsualSize : StampSettingKeys::CustomSize);
    if (paths.isEmpty())
        paths = readText(ini, usual ? QStringLiteral("usualPath") : QStringLiteral("customPath"));
    if (sizes.isEmpty())
        sizes = readText(ini, usual ? QStringLiteral("usualSize") : QStringLiteral("customSize"));
    logLine(QStringLiteral("StampDialog::InitListW") + paths + QLatin1Char(' ') + sizes);
    if (paths.isEmpty())
        return false;

    const QStringList pathList = paths.split(QLatin1Char(','));
    const QStringList sizeList = sizes.split(QLatin1Char(','));
    bool repeats = false;
    for (int i = 0; i < pathList.size(); ++i) {
        // Missing size numbers read as 0, like numbers that do not parse.
        const uint width = sizeList.value(2 * i).toUInt();
        const uint height = sizeList.value(2 * i + 1).toUInt();
        if (AddStampItem(kind, StampParam{pathList.at(i), QSize(int(width), int(height))}))
            repeats = true;
    }
    return repeats;
}

void StampLibrary::loadStandard()
{
    const QDir folder(StandardFolder());
    if (!folder.exists())
        return;
    const QStringList names = folder.entryList(QDir::Files | QDir::NoDotAndDotDot);
    for (const QString& name : names) {
        const QString path = folder.filePath(name);
        // Each pixel counts as one point.
        const QSize pixels = QImageReader(path).size();
        const QSize mm(int(POINT2OFD(float(pixels.width()))),
                       int(POINT2OFD(float(pixels.height()))));
        AddStampItem(StampListKind::Standard, StampParam{path, mm});
    }
}

void StampLibrary::SaveLists(QSettings& ini) const
{
    auto texts = [this](StampListKind kind, bool lastFirst) {
        const QStandardItemModel* list = Model(kind);
        QStringList paths;
        QStringList sizes;
        for (int n = 0; n < list->rowCount(); ++n) {
            const StampParam entry = EntryAt(list, lastFirst ? list->rowCount() - 1 - n : n);
            paths << entry.imagePath;
            sizes << QString::number(entry.imageSize.width())
                  << QString::number(entry.imageSize.height());
        }
        return qMakePair(paths.join(QLatin1Char(',')), sizes.join(QLatin1Char(',')));
    };
    const auto usual = texts(StampListKind::Usual, true);
    const auto custom = texts(StampListKind::Custom, false);
    ini.setValue(StampSettingKeys::UsualPath, usual.first);
    ini.setValue(StampSettingKeys::CustomPath, custom.first);
    ini.setValue(StampSettingKeys::UsualSize, usual.second);
    ini.setValue(StampSettingKeys::CustomSize, custom.second);
}
