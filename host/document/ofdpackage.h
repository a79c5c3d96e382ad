#pragma once
// Read access to the parts of an OFD package (a zip file), with the limits that keep a
// damaged or hostile package from taking the reader down: at most kMaxEntries parts, each
// read no further than kMaxPartBytes whatever its header claims, and kMaxTotalBytes read
// from one package in all. Part names are resolved the way OFD references them: "/a/b"
// from the package root, "a/b" from the folder of the part that names it; "." and ".."
// steps are followed but never above the root. A name that matches no part exactly is
// looked up once more ignoring case, as packages from other producers differ in case.

#include <QByteArray>
#include <QHash>
#include <QString>
#include <memory>

class QIODevice;
class QuaZip;

class OfdPackage
{
public:
    static constexpr int kMaxEntries = 10000;
    static constexpr qint64 kMaxPartBytes = 64LL << 20;
    static constexpr qint64 kMaxTotalBytes = 256LL << 20;

    OfdPackage();
    ~OfdPackage();
    OfdPackage(const OfdPackage&) = delete;
    OfdPackage& operator=(const OfdPackage&) = delete;

    // Opens the zip file at `path`, or the package held in `bytes`. False with a message
    // when it is not a zip package or lists too many parts.
    bool OpenFile(const QString& path, QString* error);
    bool OpenBytes(const QByteArray& bytes, QString* error);

    // The part's name in the package for `reference` made from the part `from` (empty
    // when the reference starts at the root); empty when it leaves the package or is empty.
    static QString Resolve(const QString& from, const QString& reference);
    bool Contains(const QString& name) const;
    // Reads the part named `name` (already resolved). False with a message when it is
    // missing, damaged or over the limits.
    bool Read(const QString& name, QByteArray* out, QString* error);

private:
    bool Index(QString* error);

    std::unique_ptr<QIODevice> m_device;
    std::unique_ptr<QuaZip> m_zip;
    QHash<QString, QString> m_names;      // exact name → name
    QHash<QString, QString> m_lowerNames; // lower-case name → name
    qint64 m_readTotal = 0;
};
