// minireader: the reference reader. Without options it opens a window; the options below
// run headless when no platform is set: the batch and --help on Qt's minimal platform, which
// loads no fonts (they draw nothing), the others on the offscreen one.
//   stamp [options] FILE...  stamp files in a batch (`minireader stamp --help`)
//   --help                 print how to start the reader
//   --list-registrations   print what the host and its plug-ins registered
//   FILE...                opens the files in tabs of a window
//   --demo <outdir> [samples folder] [--password <password>]
//                          stamp the sample contract (opened with the password) and save it
// With a window:
//   --first-page-time FILE open FILE, print the time from start until its first page is
//                          painted, and quit
// MINIREADER_WIDGET_MAP=FILE keeps in FILE where the window's named widgets are on the
// screen, for sessions scripted from outside (widgetmap.h).

#include "batchrunner.h"
#include "demorun.h"
#include "firstpageprobe.h"
#include "host/framework/g_annotationhandler.h"
#include "host/framework/g_operation.h"
#include "host/framework/g_operationinterceptor.h"
#include "host/framework/g_toolhandler.h"
#include "host/framework/hostcomponents.h"
#include "host/utils/nex_path.h"
#include "host/utils/nex_style.h"
#include "host/utils/nex_translations.h"
#include "mainwindow.h"
#include "pluginmanager.h"
#include "widgetmap.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QTextStream>
#include <cstring>
#include <memory>

#ifndef STAMPREADER_SAMPLES_DIR
#define STAMPREADER_SAMPLES_DIR ""
#endif

namespace
{

bool hasOption(int argc, char** argv, const char* option)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], option) == 0)
            return true;
    }
    return false;
}

void listRegistrations(QTextStream& out)
{
    const QStringList operations = G_Operation::GlobalNames();
    for (const QString& name : operations)
        out << "operation " << name << "\n";
    const QStringList tools = G_ToolHandler::GlobalNames();
    for (const QString& name : tools)
        out << "tool " << name << "\n";
    const QStringList handlers = G_AnnotationHandler::GlobalAnnotHandlerNames();
    for (const QString& name : handlers)
        out << "annothandler " << name << "\n";
    out << "interceptors " << G_OperationInterceptor::LiveCount() << "\n";
}

QString usage()
{
    return QCoreApplication::translate(
        "main", "Usage: minireader [FILE...]\n"
                "       minireader stamp [options] FILE...\n"
                "\n"
                "Without a command the reader opens its window, with each FILE (PDF or OFD) in a\n"
                "tab of its own.\n"
                "\n"
                "  stamp                  stamps files without a window; minireader stamp --help\n"
                "                         tells how\n"
                "  --list-registrations   prints the operations, tools and handlers that the\n"
                "                         reader and its plug-ins registered\n"
                "  --help                 prints this text\n");
}

} // namespace

int main(int argc, char** argv)
{
    QElapsedTimer clock;
    clock.start();
    const bool stamp = argc > 1 && std::strcmp(argv[1], "stamp") == 0;
    const bool list = hasOption(argc, argv, "--list-registrations");
    const bool demo = hasOption(argc, argv, "--demo");
    const bool help = !stamp && (hasOption(argc, argv, "--help") || hasOption(argc, argv, "-h"));
    if ((stamp || list || demo || help) && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", stamp || help ? "minimal" : "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("minireader"));
    Utils::Nex_Translations::Install(&app);
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (help) {
        out << usage();
        return 0;
    }
    if (stamp) {
        // Nothing is shown: no style to apply, and the command loads the plug-ins itself.
        // The plug-ins' developer lines (several per stamped page) would bury the report and
        // cost a write each; QT_LOGGING_RULES="default.debug=true" brings them back.
        if (qEnvironmentVariableIsEmpty("QT_LOGGING_RULES"))
            QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
        const int code = BatchRunner::Main(QCoreApplication::arguments().mid(2), out, err);
        out.flush();
        err.flush();
        return code;
    }
    Utils::Widgets::Nex_Style::Apply(&app);

    HostComponents::RegisterAll();
    std::unique_ptr<FirstPageProbe> probe;
    if (hasOption(argc, argv, "--first-page-time"))
        probe.reset(new FirstPageProbe(clock, out));
    // The window comes before the plug-ins, so they find its navigation panel when they
    // start (they follow its page changes).
    MainWindow* window = list || demo ? nullptr : new MainWindow;
    PluginManager plugins;
    plugins.LoadAll(Utils::Nex_Path::PluginPath(), QCoreApplication::arguments());
    const QStringList messages = plugins.Messages();
    for (const QString& message : messages)
        err << message << "\n";
    err.flush();

    int code = 0;
    if (list) {
        listRegistrations(out);
    } else if (demo) {
        const QStringList args = QCoreApplication::arguments();
        const int at = args.indexOf(QStringLiteral("--demo"));
        if (at + 1 >= args.size() || args.at(at + 1).startsWith(QLatin1String("--"))) {
            err << "usage: minireader --demo <outdir> [samples folder] [--password <password>]\n";
            code = 2;
        } else {
            QString samples = QStringLiteral(STAMPREADER_SAMPLES_DIR);
            if (at + 2 < args.size() && !args.at(at + 2).startsWith(QLatin1String("--")))
                samples = args.at(at + 2);
            const int pw = args.indexOf(QStringLiteral("--password"));
            const QString password = pw >= 0 && pw + 1 < args.size() ? args.at(pw + 1) : QString();
            code = DemoRun::Run(args.at(at + 1), samples, out, password);
        }
    } else {
        window->show();
        std::unique_ptr<WidgetMap> map;
        if (!qEnvironmentVariableIsEmpty(WidgetMap::kEnvironment))
            map.reset(new WidgetMap(window, qEnvironmentVariable(WidgetMap::kEnvironment)));
        const QStringList args = QCoreApplication::arguments();
        for (int i = 1; i < args.size(); ++i) {
            if (!args.at(i).startsWith(QLatin1String("--")))
                window->OpenFile(args.at(i));
        }
        code = app.exec();
        // Views go before the plug-ins that made their tools; the picker (a child of the
        // window) writes the stamp library back as it goes.
        map.reset();
        delete window;
    }
    out.flush();
    plugins.Shutdown();
    return code;
}
