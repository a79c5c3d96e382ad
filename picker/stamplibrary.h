#pragma once
// The stamp library: the usual, standard and custom lists as item models, their duplicate
// sets, and their storage.
//
// Files and folders:
//   UserPath() + "stamps.ini"  the usual and custom lists (and the picker's panel keys)
//   DataPath() + "stamps/"     the standard stamps, read only, listed afresh at every load
//   UserPath() + "stamp"       the user stamp folder, where imported pictures are copied
//
// In "stamps.ini" a list is two texts: the paths joined by "," and the sizes (width and
// height of each entry in turn, millimetres) joined by ",". The usual list is stored oldest
// first, so loading (which inserts at the top) restores newest first. Texts written by an
// older version under the keys "usualPath", "usualSize", "customPath", "customSize" are read
// when the new keys are empty and dropped at the next save. An entry whose picture is not
// an existing file is skipped; a size that is not a number (or missing) reads as 0.

#include "stampparam.h"

#include <QSet>
#include <QString>

class QAbstractItemModel;
class QModelIndex;
class QObject;
class QSettings;
class QStandardItemModel;

class StampLibrary
{
public:
    // The models are children of `owner`.
    explicit StampLibrary(QObject* owner);

    static QString IniPath();
    static QString StandardFolder();
    static QString UserStampFolder(); // without a trailing separator

    QStandardItemModel* Model(StampListKind kind) const;
    static StampParam EntryAt(const QAbstractItemModel* list, int row);

    // Builds the item of `entry` (with its thumbnail) and adds it: usual entries at the top,
    // standard and custom ones at the end. Returns true when the path was already in the
    // usual (resp. custom) duplicate set before the call; false for standard entries and
    // when nothing was added because the picture is not a file.
    bool AddStampItem(StampListKind kind, const StampParam& entry);
    // Removes later duplicates of every path of `list` (the topmost stays), then keeps the
    // newest 10 of the usual list.
    void RemoveRepeatItem(QStandardItemModel* list);
    // Deletes a custom entry: from the custom list, from the usual list, from both duplicate
    // sets, and its picture when that lies inside the user stamp folder.
    void DeleteItem(QAbstractItemModel* list, const QModelIndex& index);

    // Loads the usual and custom lists from "stamps.ini" and the standard list from the
    // standard folder, tidying a stored list that holds duplicates.
    void Load();
    // Writes the four list keys (the caller opens, clears and syncs the file).
    void SaveLists(QSettings& ini) const;

    static constexpr int kUsualLimit = 10;

private:
    bool loadList(QSettings& ini, StampListKind kind);
    void loadStandard();

    QStandardItemModel* m_models[3];
    QSet<QString> m_usualPaths;
    QSet<QString> m_customPaths;
};
