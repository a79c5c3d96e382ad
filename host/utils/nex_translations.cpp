#include "nex_translations.h"

#include "nex_path.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

namespace Utils
{

QStringList Nex_Translations::Install(QCoreApplication* app, const QLocale& locale)
{
    QStringList loaded;
    const QDir folder(Nex_Path::DataPath() + QStringLiteral("translations"));
    const QStringList files = folder.entryList({QStringLiteral("*.qm")}, QDir::Files);
    for (const QString& file : files) {
        // "<name>_<language>_<territory>.qm": the name is everything before the locale.
        const int at = file.indexOf(QLatin1Char('_'));
        if (at <= 0)
            continue;
        auto* translator = new QTranslator(app);
        if (translator->load(locale, file.left(at), QStringLiteral("_"), folder.path())
            && !loaded.contains(translator->filePath())) {
            app->installTranslator(translator);
            loaded << translator->filePath();
        } else {
            delete translator;
        }
    }
    // Qt's own dialogs and buttons (file dialogs, the password prompt) in the same language.
    auto* qt = new QTranslator(app);
    if (qt->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::location(QLibraryInfo::TranslationsPath))) {
        app->installTranslator(qt);
        loaded << qt->filePath();
    } else {
        delete qt;
    }
    return loaded;
}

} // namespace Utils
