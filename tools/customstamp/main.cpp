// customstamp: the stamp maker. A person draws a seal (round or oval, text along the arc, a
// star or centre text, colour, size in millimetres) with a live preview; the seal is saved
// as a PNG with a transparent background in the user stamp folder and, when the reader
// started this program, reported to the reader's stamp picker, which adds it to its
// custom stamps.
//
// The reader starts it as
//     customstamp reader <port> <document folder>
// where <port> is the loopback port of the picker's RPC server (host/rpc/rpcwire.h).
// Started without arguments it works on its own and only saves.
//
// Non-interactive mode (no window; prints the PNG's path and exits 0, or a message on
// stderr and exits 1): either --auto with the options of --help, or the environment
// variable CUSTOMSTAMP_AUTO holding the settings as
//     CUSTOMSTAMP_AUTO="text=Qinghe Press;shape=oval;colour=#ff0000;size=40x30"
// (keys text, centre, star=yes|no, shape=round|oval, colour, size=<w>x<h> millimetres).
// The variable reaches the program through the reader's unchanged command line, which is
// how tests run the whole link from the picker's menu.

#include "sealdesign.h"
#include "sealrenderer.h"
#include "stampmakerwindow.h"
#include "stampoutput.h"

#include "host/utils/nex_translations.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTextStream>

namespace
{

struct Options {
    bool automatic = false;
    quint16 port = 0;
    SealDesign design;
};

// False with a message when the command line or the variable cannot be used.
bool ReadOptions(const QCoreApplication& app, Options* options, QString* error)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Makes seal stamps for the reader's stamp picker.\n\n"
                       "Started by the reader as: customstamp reader <port> <document folder>.\n"
                       "Non-interactive mode: --auto, or the environment variable "
                       "CUSTOMSTAMP_AUTO=\"text=...;centre=...;star=yes|no;shape=round|oval;"
                       "colour=#rrggbb;size=<w>x<h>\" (its settings override the options)."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("reader"),
                                 QStringLiteral("The word \"reader\" when the reader starts it."));
    parser.addPositionalArgument(QStringLiteral("port"),
                                 QStringLiteral("The port the reader's picker listens on."));
    parser.addPositionalArgument(QStringLiteral("folder"),
                                 QStringLiteral("The current document's folder (not used)."));
    const QCommandLineOption automatic(QStringLiteral("auto"),
                                       QStringLiteral("Make the seal without a window and exit."));
    const QCommandLineOption text(QStringLiteral("text"),
                                  QStringLiteral("Text along the upper arc."),
                                  QStringLiteral("text"));
    const QCommandLineOption centre(QStringLiteral("centre"),
                                    QStringLiteral("Text across the middle."),
                                    QStringLiteral("text"));
    const QCommandLineOption noStar(QStringLiteral("no-star"),
                                    QStringLiteral("No star in the middle."));
    const QCommandLineOption shape(QStringLiteral("shape"),
                                   QStringLiteral("round (default) or oval."),
                                   QStringLiteral("shape"));
    const QCommandLineOption colour(QStringLiteral("colour"),
                                    QStringLiteral("Colour, #rrggbb or a name (default red)."),
                                    QStringLiteral("colour"));
    const QCommandLineOption size(
        QStringLiteral("size"),
        QStringLiteral("Width x height in millimetres, 10 to 100 (default 40x40)."),
        QStringLiteral("size"));
    parser.addOptions({automatic, text, centre, noStar, shape, colour, size});
    parser.process(app); // --help prints and exits; unknown options too, with a message

    const QStringList args = parser.positionalArguments();
    if (!args.isEmpty()) {
        bool ok = false;
        const uint port = args.value(1).toUInt(&ok);
        if (args.first() != QLatin1String("reader") || !ok || port == 0 || port > 65535) {
            *error = QStringLiteral("Expected: customstamp reader <port> <document folder>; "
                                    "got: %1")
                         .arg(args.join(' '));
            return false;
        }
        options->port = quint16(port);
    }
    const std::pair<const QCommandLineOption&, const char*> settings[] = {
        {text, "text"}, {centre, "centre"}, {shape, "shape"}, {colour, "colour"}, {size, "size"}};
    for (const auto& setting : settings) {
        if (parser.isSet(setting.first) &&
            !options->design.Set(setting.second, parser.value(setting.first), error))
            return false;
    }
    if (parser.isSet(noStar))
        options->design.star = false;
    options->automatic = parser.isSet(automatic);
    if (qEnvironmentVariableIsSet("CUSTOMSTAMP_AUTO")) {
        options->automatic = true;
        const QString fromEnvironment = qEnvironmentVariable("CUSTOMSTAMP_AUTO");
        if (!SealDesign::Parse(fromEnvironment, &options->design, error)) {
            error->prepend(QStringLiteral("CUSTOMSTAMP_AUTO: "));
            return false;
        }
    }
    return true;
}

int MakeWithoutWindow(const Options& options)
{
    QTextStream err(stderr);
    SealRenderer renderer;
    QString error;
    const QImage image = renderer.Render(options.design, 300, &error);
    const QString path = image.isNull()
                             ? QString()
                             : StampOutput::SavePicture(image, options.design.arcText, &error);
    if (path.isEmpty()) {
        err << "customstamp: " << error << '\n';
        return 1;
    }
    QTextStream(stdout) << path << '\n';
    if (options.port &&
        !StampOutput::Report(options.port, path, options.design.DrawnSize().toSize(), &error)) {
        err << "customstamp: " << error << '\n';
        return 1;
    }
    return 0;
}

// Seen before the application exists, so that a script's run needs no display.
bool WantsNoWindow(int argc, char** argv)
{
    if (qEnvironmentVariableIsSet("CUSTOMSTAMP_AUTO"))
        return true;
    for (int i = 1; i < argc; ++i) {
        for (const char* option : {"--auto", "--help", "-h", "--help-all", "--version", "-v"})
            if (qstrcmp(argv[i], option) == 0)
                return true;
    }
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    if (WantsNoWindow(argc, argv) && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("customstamp"));
    Utils::Nex_Translations::Install(&app); // the reader's translations cover this program
    Options options;
    QString error;
    if (!ReadOptions(app, &options, &error)) {
        QTextStream(stderr) << "customstamp: " << error << '\n';
        return 2;
    }
    if (options.automatic)
        return MakeWithoutWindow(options);
    StampMakerWindow window(options.port);
    window.show();
    return app.exec();
}
