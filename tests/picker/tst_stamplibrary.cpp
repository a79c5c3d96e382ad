// The stamp library on disk: "stamps.ini" as older and newer versions wrote it (and as
// people edit it), the standard folder, tidying, deleting and writing back.

#include "picker/stamplibrary.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPixmap>
#include <QSettings>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QtTest>

namespace
{

// "name:WxH" of every row, top first; the path reduced to its file name.
QStringList rows(const QStandardItemModel* list)
{
    QStringList out;
    for (int row = 0; row < list->rowCount(); ++row) {
        const StampParam entry = StampLibrary::EntryAt(list, row);
        out << QStringLiteral("%1:%2x%3")
                   .arg(QFileInfo(entry.imagePath).fileName())
                   .arg(entry.imageSize.width())
                   .arg(entry.imageSize.height());
    }
    return out;
}

} // namespace

class TestStampLibrary : public QObject
{
    Q_OBJECT

    QString pic(const QString& name) const { return m_dir->path() + "/pics/" + name; }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QObject> m_owner;
    std::unique_ptr<StampLibrary> m_library;
    void writeIni(const QByteArray& text)
    {
        QFile file(StampLibrary::IniPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        QByteArray resolved = text;
        file.write(resolved.replace("PICS", QFile::encodeName(m_dir->path() + "/pics")));
    }

private slots:
    void init()
    {
        m_dir.reset(new QTemporaryDir);
        for (const char* folder : {"user", "app/stamps", "pics"})
            QDir(m_dir->path()).mkpath(QString::fromLatin1(folder));
        qputenv("STAMPREADER_USER_DIR", QFile::encodeName(m_dir->path() + "/user"));
        qputenv("STAMPREADER_APP_DIR", QFile::encodeName(m_dir->path() + "/app"));
        qputenv("STAMPREADER_DPI_SCALE", "1");
        QImage image(30, 20, QImage::Format_ARGB32);
        image.fill(Qt::red);
        for (const char* name : {"a.png", "b.png", "c.png", "d.png"})
            QVERIFY(image.save(pic(QString::fromLatin1(name))));
        m_owner.reset(new QObject);
        m_library.reset(new StampLibrary(m_owner.get()));
    }
    void cleanup()
    {
        m_library.reset();
        m_owner.reset();
        m_dir.reset();
    }
    void loadsWhatWasStored_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QStringList>("usual");
        QTest::addColumn<QStringList>("custom");
        QTest::addColumn<bool>("writesBack"); // saving gives the file's own list texts again

        QTest::newRow("oldest first on file, newest on top")
            << QByteArray(
                   "[list]\nlist.usualpath=\"PICS/a.png,PICS/b.png,PICS/c.png\"\n"
                   "list.usualsize=\"10,20,30,40,50,60\"\n"
                   "list.custompath=\"PICS/a.png,PICS/d.png\"\nlist.customsize=\"1,2,3,4\"\n")
            << QStringList{"c.png:50x60", "b.png:30x40", "a.png:10x20"}
            << QStringList{"a.png:1x2", "d.png:3x4"} << true;
        QTest::newRow("older keys when the new ones are empty")
            << QByteArray(
                   "[General]\nusualPath=PICS/a.png\nusualSize=\"7,8\"\ncustomPath=PICS/b.png\n"
                   "customSize=\"5,6\"\n[list]\nlist.usualpath=\n")
            << QStringList{"a.png:7x8"} << QStringList{"b.png:5x6"} << false;
        QTest::newRow("empty middle slot keeps its size numbers")
            << QByteArray("[list]\nlist.usualpath=\"PICS/a.png,,PICS/b.png\"\n"
                          "list.usualsize=\"1,2,3,4,5,6\"\n")
            << QStringList{"b.png:5x6", "a.png:1x2"} << QStringList() << false;
        QTest::newRow("unquoted lists, missing and bad sizes")
            << QByteArray("[list]\nlist.custompath=PICS/a.png,PICS/gone.png,PICS/b.png\n"
                          "list.customsize=4,x,9,9\n")
            << QStringList() << QStringList{"a.png:4x0", "b.png:0x0"} << false;
        QTest::newRow("duplicates stored are tidied")
            << QByteArray("[list]\nlist.usualpath=\"PICS/a.png,PICS/b.png,PICS/a.png\"\n"
                          "list.usualsize=\"1,1,2,2,3,3\"\n")
            << QStringList{"a.png:3x3", "b.png:2x2"} << QStringList() << false;
        QTest::newRow("binary garbage") << QByteArray("\x89PNG\x00\x01[list\xff\n=\x02\x03", 16)
                                        << QStringList() << QStringList() << false;
    }
    void loadsWhatWasStored()
    {
        QFETCH(QByteArray, ini);
        QFETCH(QStringList, usual);
        QFETCH(QStringList, custom);
        QFETCH(bool, writesBack);
        writeIni(ini);
        m_library->Load();
        QCOMPARE(rows(m_library->Model(StampListKind::Usual)), usual);
        QCOMPARE(rows(m_library->Model(StampListKind::Custom)), custom);
        if (!writesBack)
            return;
        QSettings stored(StampLibrary::IniPath(), QSettings::IniFormat);
        const QStringList keys{"list/list.usualpath", "list/list.usualsize", "list/list.custompath",
                               "list/list.customsize"};
        QStringList before;
        for (const QString& key : keys)
            before << stored.value(key).toString();
        QSettings saved(m_dir->path() + "/saved.ini", QSettings::IniFormat);
        m_library->SaveLists(saved);
        for (int i = 0; i < keys.size(); ++i)
            QCOMPARE(saved.value(keys.at(i)).toString(), before.at(i));
    }
    void choosingAgainMovesToTheTopAndTidyingCaps()
    {
        QStandardItemModel* usual = m_library->Model(StampListKind::Usual);
        QStringList names;
        for (int i = 0; i < 12; ++i) {
            names.prepend(QStringLiteral("s%1.png").arg(i));
            QVERIFY(QFile::copy(pic("a.png"), pic(names.first())));
            QVERIFY(
                !m_library->AddStampItem(StampListKind::Usual, {pic(names.first()), QSize(1, 1)}));
        }
        QCOMPARE(usual->rowCount(), 12); // new stamps alone never tidy
        QVERIFY(m_library->AddStampItem(StampListKind::Usual, {pic("s5.png"), QSize(2, 2)}));
        m_library->RemoveRepeatItem(usual);
        names.removeAll("s5.png");
        names.prepend("s5.png");
        QStringList expected;
        for (const QString& name : names.mid(0, 10))
            expected << name + (name == "s5.png" ? ":2x2" : ":1x1");
        QCOMPARE(rows(usual), expected);
    }
    void deletingACustomStamp_data()
    {
        QTest::addColumn<bool>("copiedByUs");
        QTest::newRow("picture in the user stamp folder") << true;
        QTest::newRow("picture elsewhere") << false;
    }
    void deletingACustomStamp()
    {
        QFETCH(bool, copiedByUs);
        QString path = pic("a.png");
        if (copiedByUs) {
            QVERIFY(QDir().mkpath(StampLibrary::UserStampFolder()));
            path = StampLibrary::UserStampFolder() + "/24_05_31_14_03_59_a.png";
            QVERIFY(QFile::copy(pic("a.png"), path));
        }
        const StampParam entry{path, QSize(40, 30)};
        m_library->AddStampItem(StampListKind::Custom, {pic("b.png"), QSize(1, 1)});
        m_library->AddStampItem(StampListKind::Custom, entry);
        m_library->AddStampItem(StampListKind::Usual, entry);
        m_library->AddStampItem(StampListKind::Usual, {pic("b.png"), QSize(1, 1)});
        QStandardItemModel* custom = m_library->Model(StampListKind::Custom);
        m_library->DeleteItem(custom, custom->index(1, 0));
        QCOMPARE(rows(custom), QStringList{"b.png:1x1"});
        QCOMPARE(rows(m_library->Model(StampListKind::Usual)), QStringList{"b.png:1x1"});
        QCOMPARE(QFile::exists(path), !copiedByUs);
        if (!copiedByUs) // forgotten by the duplicate set: adding it again is new
            QVERIFY(!m_library->AddStampItem(StampListKind::Custom, entry));
    }
    void thumbnailsKeepTheStoredProportions_data()
    {
        QTest::addColumn<QSize>("mm");
        QTest::addColumn<QSize>("thumbnail");
        QTest::newRow("wide") << QSize(40, 20) << QSize(86, 43);
        QTest::newRow("tall") << QSize(20, 40) << QSize(43, 86);
        QTest::newRow("no height: the picture's own 30 x 20") << QSize(40, 0) << QSize(86, 57);
    }
    void thumbnailsKeepTheStoredProportions()
    {
        QFETCH(QSize, mm);
        QFETCH(QSize, thumbnail);
        m_library->AddStampItem(StampListKind::Standard, {pic("a.png"), mm});
        const QModelIndex item = m_library->Model(StampListKind::Standard)->index(0, 0);
        QCOMPARE(item.data(ThumbnailRole).value<QPixmap>().size(), thumbnail);
    }
    void standardStampsAreMeasuredInPoints()
    {
        const QString folder = StampLibrary::StandardFolder();
        QImage(114, 86, QImage::Format_ARGB32).save(folder + "B.png");
        QImage(72, 144, QImage::Format_ARGB32).save(folder + "a.png");
        QFile note(folder + "readme.txt");
        QVERIFY(note.open(QIODevice::WriteOnly));
        note.write("not a picture");
        note.close();
        QVERIFY(QDir(folder).mkdir("sub"));
        m_library->Load();
        QCOMPARE(rows(m_library->Model(StampListKind::Standard)),
                 QStringList({"a.png:25x50", "B.png:40x30", "readme.txt:0x0"}));
    }
    void theReaderShipsStandardStamps()
    {
        qunsetenv("STAMPREADER_APP_DIR"); // the build's own bin/, beside this test
        m_library->Load();
        const QStandardItemModel* standard = m_library->Model(StampListKind::Standard);
        QVERIFY(standard->rowCount() >= 4);
        for (int row = 0; row < standard->rowCount(); ++row)
            QVERIFY(!standard->index(row, 0).data(ThumbnailRole).value<QPixmap>().isNull());
    }
};

QTEST_MAIN(TestStampLibrary)
#include "tst_stamplibrary.moc"
