#pragma once
// The reader's translations: every "<name>_<locale>.qm" in DataPath() + "translations/"
// (the reader's own texts and each plug-in's) for the locale of the system, e.g.
// minireader_zh_CN.qm and stampannot_zh_CN.qm under LANG=zh_CN.UTF-8. English is the
// source language and needs none. Qt's own "qtbase_<locale>.qm" follows, where the system
// has it (Debian: qttranslations5-l10n).

#include <QLocale>
#include <QStringList>

class QCoreApplication;

namespace Utils
{
class Nex_Translations
{
public:
    // Installs the translators on `app`; returns the files loaded.
    static QStringList Install(QCoreApplication* app, const QLocale& locale = QLocale());
};
} // namespace Utils
