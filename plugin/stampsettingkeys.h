#pragma once
// Keys of "stamps.ini" shared by the stamp library, the picker and its auto-stamp panel.

#include <QString>

namespace StampSettingKeys
{
extern const QString UsualPath;        // usual stamps' paths, joined by ","
extern const QString UsualSize;        // their widths and heights in turn
extern const QString CustomPath;       // custom stamps' paths
extern const QString CustomSize;       // their sizes
extern const QString StampLrPage;      // left/right margin field
extern const QString StampTbPage;      // top/bottom margin field
extern const QString StampDirectionLr; // 0 page right, 1 page left
extern const QString StampDirectionTb; // 0 page bottom, 1 page top
extern const QString InvoDirectionLr;  // left/right direction in invoice mode
extern const QString InvoDirectionTb;  // top/bottom direction in invoice mode
extern const QString ApplySign;        // apply-signature choice
} // namespace StampSettingKeys
