#pragma once
// One stamp of the library: its picture and its size in whole millimetres. Two entries are
// the same stamp when their paths are equal as text (case-sensitive); the size plays no part.

#include <QMetaType>
#include <QSize>
#include <QString>

struct StampParam {
    QString imagePath;
    QSize imageSize; // millimetres; invalid when unknown
};
Q_DECLARE_METATYPE(StampParam)

// Registers "StampParam" so it travels in QVariants and queued connections. Idempotent.
void RegisterStampParamType();

// The three lists of the stamp library.
enum class StampListKind { Usual = 0, Standard = 1, Custom = 2 };

// Roles of a list item.
enum StampItemRole {
    StampParamRole = Qt::UserRole + 1, // the entry, a StampParam
    ThumbnailRole = Qt::UserRole + 2,  // its thumbnail, a QPixmap
    DeletableRole = Qt::UserRole + 3,  // bool: only custom stamps can be deleted
};
