#include "stampsettingkeys.h"

namespace StampSettingKeys
{
const QString UsualPath = QStringLiteral("list/list.usualpath");
const QString UsualSize = QStringLiteral("list/list.usualsize");
const QString CustomPath = QStringLiteral("list/list.custompath");
const QString CustomSize = QStringLiteral("list/list.customsize");
const QString StampLrPage = QStringLiteral("pageinfo/pageinfo.stamplrpage");
const QString StampTbPage = QStringLiteral("pageinfo/pageinfo.stamptbpage");
const QString StampDirectionLr = QStringLiteral("pageinfo/pageinfo.stampdirectionlr");
const QString StampDirectionTb = QStringLiteral("pageinfo/pageinfo.stampdirectiontb");
const QString InvoDirectionLr = QStringLiteral("pageinfo/pageinfo.invodirectionlr");
const QString InvoDirectionTb = QStringLiteral("pageinfo/pageinfo.invodirectiontb");
const QString ApplySign = QStringLiteral("stamp/stamp.applysign");
} // namespace StampSettingKeys
