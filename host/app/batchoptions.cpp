#include "batchoptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QThread>

namespace
{

QString tr(const char* text)
{
    return QCoreApplication::translate("BatchOptions", text);
}

constexpr int kMaxMillimetres = 99999; // the auto-stamp panel's fields take five digits

// A whole number of millimetres in [minimum, kMaxMillimetres]; false for anything else.
bool parseMillimetres(const QString& text, int minimum, int* value)
{
    static const QRegularExpression digits(QStringLiteral("^\\d{1,5}$"));
    if (!digits.match(text.trimmed()).hasMatch())
        return false;
    *value = text.trimmed().toInt();
    return *value >= minimum && *value <= kMaxMillimetres;
}

} // namespace

QString BatchOptions::HelpText()
{
    return tr(
        "Usage: minireader stamp [options] INPUT.pdf [INPUT.pdf ...]\n"
        "\n"
        "Puts a picture stamp on pages of PDF files through the reader's stamp plug-in, as its\n"
        "auto-stamp panel places it, and saves stamped copies. Input files are never changed.\n"
        "\n"
        "  -s, --stamp FILE|NAME  the stamp: a PNG or JPEG file, or a stamp of the library by\n"
        "                         name (a standard stamp or one of your custom stamps: the\n"
        "                         file name without its suffix, in any case). Required.\n"
        "  -o, --output PATH      where the copies go (required). A PATH ending in .pdf that\n"
        "                         is not a folder is the file for a single input; any other\n"
        "                         PATH is a folder, made when missing, where each copy keeps\n"
        "                         its input's file name.\n"
        "  --output-file FILE     the copy of a single input, whatever FILE's suffix\n"
        "  --size W[xH]           stamp size in whole millimetres; with W alone the height\n"
        "                         follows the picture's shape. Default: the library entry's\n"
        "                         size, or for a file its pixel size counted as points\n"
        "                         (72 pixels = 25.4 mm), as the standard stamps are sized.\n"
        "  --right MM, --left MM  distance from the page's right (default) or left edge, in\n"
        "                         whole millimetres (default 0)\n"
        "  --bottom MM, --top MM  distance from the page's bottom (default) or top edge, in\n"
        "                         whole millimetres (default 0)\n"
        "  -p, --pages PAGES      current (default: the page a newly opened document shows,\n"
        "                         its first), all, or page numbers and ranges counted from 1:\n"
        "                         1,3-5,last or 2-last\n"
        "  --embed                draw the stamps into the page content instead of adding\n"
        "                         them as stamp annotations\n"
        "  --password PASSWORD    opens protected files (the same password for each; or set\n"
        "                         STAMPREADER_PASSWORD)\n"
        "  --render-png FILE      also writes a PNG picture (96 dpi) of the first stamped page,\n"
        "                         drawn from the saved copy of the first input that succeeded\n"
        "  -j, --jobs N           files stamped at the same time, one process each (default:\n"
        "                         the number of processor cores)\n"
        "  --progress             show the progress line even when standard error is not a\n"
        "                         terminal\n"
        "  -h, --help             this text\n"
        "\n"
        "Each saved copy is reported on standard output; each file that could not be\n"
        "stamped is named on standard error with the reason, and the other files are still\n"
        "stamped. Exit status: 0 when every file was stamped and saved, 1 when any file\n"
        "failed, 2 when nothing was tried (a wrong command line or a stamp not found).\n");
}

BatchOptions::Result BatchOptions::Parse(const QStringList& arguments, QString* error)
{
    QCommandLineParser parser;
    const QCommandLineOption outputOption({"o", "output"}, QString(), "PATH");
    const QCommandLineOption outputFileOption("output-file", QString(), "FILE");
    const QCommandLineOption stampOption({"s", "stamp"}, QString(), "STAMP");
    const QCommandLineOption sizeOption("size", QString(), "SIZE");
    const QCommandLineOption rightOption("right", QString(), "MM");
    const QCommandLineOption leftOption("left", QString(), "MM");
    const QCommandLineOption bottomOption("bottom", QString(), "MM");
    const QCommandLineOption topOption("top", QString(), "MM");
    const QCommandLineOption pagesOption({"p", "pages"}, QString(), "PAGES");
    const QCommandLineOption embedOption("embed");
    const QCommandLineOption passwordOption("password", QString(), "PASSWORD");
    const QCommandLineOption pngOption("render-png", QString(), "FILE");
    const QCommandLineOption jobsOption({"j", "jobs"}, QString(), "N");
    const QCommandLineOption progressOption("progress");
    const QCommandLineOption helpOption(QStringList{"h", "help"});
    parser.addOptions({outputOption, outputFileOption, stampOption, sizeOption, rightOption,
                       leftOption, bottomOption, topOption, pagesOption, embedOption,
                       passwordOption, pngOption, jobsOption, progressOption, helpOption});
    // The parser wants a program name first.
    if (!parser.parse(QStringList{QStringLiteral("minireader stamp")} + arguments)) {
        *error = parser.errorText();
        return Error;
    }
    if (parser.isSet(helpOption))
        return Help;

    auto fail = [error](const QString& message) {
        *error = message;
        return Error;
    };
    // An option given twice would silently take one of the values.
    for (const QCommandLineOption& option :
         {outputOption, outputFileOption, stampOption, sizeOption, rightOption, leftOption,
          bottomOption, topOption, pagesOption, passwordOption, pngOption, jobsOption}) {
        if (parser.values(option).size() > 1)
            return fail(tr("--%1 is given more than once.").arg(option.names().last()));
    }

    inputs = parser.positionalArguments();
    if (inputs.isEmpty())
        return fail(tr("No input file: name the PDF files to stamp."));
    stamp = parser.value(stampOption);
    if (stamp.isEmpty())
        return fail(tr("No stamp: give a picture file or a library stamp's name with --stamp."));
    if (parser.isSet(outputFileOption)) {
        if (parser.isSet(outputOption) || inputs.size() > 1)
            return fail(tr("--output-file names the copy of a single input, without -o."));
        output = parser.value(outputFileOption);
        outputIsFolder = false;
    } else {
        output = parser.value(outputOption);
        if (output.isEmpty())
            return fail(tr("No output: give a folder (or, for one input, a .pdf file) with -o."));
        const QFileInfo outInfo(output);
        const bool namesPdf = output.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive);
        if (inputs.size() > 1 && (outInfo.isFile() || (namesPdf && !outInfo.isDir())))
            return fail(tr("%1 input files go into a folder, but -o names the file %2.")
                            .arg(inputs.size())
                            .arg(QDir::toNativeSeparators(output)));
        outputIsFolder = inputs.size() > 1 || outInfo.isDir() || !namesPdf;
    }

    size = QSize();
    if (parser.isSet(sizeOption)) {
        const QStringList sides =
            parser.value(sizeOption).split(QRegularExpression(QStringLiteral("[xX]")));
        int width = 0;
        int height = 0;
        if (sides.size() > 2 || !parseMillimetres(sides.first(), 1, &width) ||
            (sides.size() == 2 && !parseMillimetres(sides.last(), 1, &height)))
            return fail(tr("--size %1 is not a size: give whole millimetres as W or WxH, "
                           "such as 40 or 40x30.")
                            .arg(parser.value(sizeOption)));
        size = QSize(width, height);
    }

    auto margin = [&](const QCommandLineOption& near, const QCommandLineOption& far, int* value,
                      int* direction) {
        if (parser.isSet(near) && parser.isSet(far)) {
            *error =
                tr("Give --%1 or --%2, not both.").arg(near.names().last(), far.names().last());
            return false;
        }
        *direction = parser.isSet(far) ? 1 : 0;
        *value = 0;
        const QCommandLineOption& given = parser.isSet(far) ? far : near;
        if (parser.isSet(given) && !parseMillimetres(parser.value(given), 0, value)) {
            *error = tr("--%1 %2 is not a margin: give whole millimetres, such as 10.")
                         .arg(given.names().last(), parser.value(given));
            return false;
        }
        return true;
    };
    if (!margin(rightOption, leftOption, &marginLR, &directionLR) ||
        !margin(bottomOption, topOption, &marginTB, &directionTB))
        return Error;

    if (parser.isSet(pagesOption) && !pages.Parse(parser.value(pagesOption), error))
        return Error;
    embed = parser.isSet(embedOption);
    password = parser.isSet(passwordOption) ? parser.value(passwordOption)
                                            : QString::fromLocal8Bit(qgetenv(kPasswordVariable));
    renderPng = parser.value(pngOption);
    jobs = QThread::idealThreadCount();
    if (parser.isSet(jobsOption)) {
        bool ok = false;
        jobs = parser.value(jobsOption).toInt(&ok);
        if (!ok || jobs < 1)
            return fail(tr("--jobs %1 is not a number of processes: give 1 or more.")
                            .arg(parser.value(jobsOption)));
    }
    jobs = qMax(1, jobs);
    progress = parser.isSet(progressOption);
    return Ok;
}

QString BatchOptions::OutputFor(const QString& input) const
{
    if (!outputIsFolder)
        return output;
    return QDir(output).filePath(QFileInfo(input).fileName());
}

QStringList BatchOptions::WorkerArguments(const QString& input, const QString& output,
                                          const QString& stampPath, const QSize& stampSize) const
{
    QStringList args{QStringLiteral("stamp"),
                     QStringLiteral("--stamp"),
                     stampPath,
                     QStringLiteral("--size"),
                     QStringLiteral("%1x%2").arg(stampSize.width()).arg(stampSize.height()),
                     directionLR == 0 ? QStringLiteral("--right") : QStringLiteral("--left"),
                     QString::number(marginLR),
                     directionTB == 0 ? QStringLiteral("--bottom") : QStringLiteral("--top"),
                     QString::number(marginTB),
                     QStringLiteral("--pages"),
                     pages.Text(),
                     QStringLiteral("--jobs"),
                     QStringLiteral("1"),
                     QStringLiteral("--output-file"),
                     output};
    if (embed)
        args << QStringLiteral("--embed");
    // After "--" an input whose name starts with a dash is still a file.
    args << QStringLiteral("--") << input;
    return args;
}
