// Invoice seal benchmark: the whole chain behind the invoice seal command, as the dialog's
// Add button runs it: the seal record from the invoice's data, the seal document written
// by the seal maker, opened and drawn at 300 dpi, and the picture placed on the chosen
// pages. On the one-page sample invoice, and on a 500-page invoice (the sample's page
// repeated by qpdf, its invoice data kept) with every page chosen.
//
//   invoicebench [--rounds N] [--pages N] [--work DIR] [--samples DIR]
//
// Each round starts from a freshly opened document in a reader of its own (the tests'
// fixture), so no round finds the previous one's seal on its pages.
#include "benchoptions.h"
#include "hostfixture.h"
#include "stampkit.h"

#include "seals/autoinvoicesealdlg.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRadioButton>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace
{

struct Times {
    double record = 0, seal = 0, place = 0;
    double Total() const { return record + seal + place; }
};

double Ms(QElapsedTimer& clock)
{
    const double ms = clock.nsecsElapsed() / 1e6;
    clock.restart();
    return ms;
}

// One run of the chain on `path`; false when the seal did not land on every chosen page.
bool SealOnce(const QString& path, Times* times)
{
    HostFixture fx;
    QString error;
    if (!fx.OpenFile(path, &error)) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(error));
        return false;
    }
    AutoInvoiceSealDlg dialog(fx.Context(), nullptr);
    dialog.findChild<QRadioButton*>("radioBtnAllPage")->setChecked(true);
    QElapsedTimer clock;
    clock.start();
    dialog.PrepareSealRecord();
    times->record = Ms(clock);
    QMetaObject::invokeMethod(&dialog, "CreateInvoiceSeal");
    times->seal = Ms(clock);
    dialog.PlaceInvoiceSeal();
    times->place = Ms(clock);
    IG_Document* doc = fx.Document();
    for (int i = 0; i < doc->PageCount(); ++i) {
        if (doc->PageAt(i)->AnnotCount() != 1) {
            std::fprintf(stderr, "page %d of %s has no seal\n", i + 1, qPrintable(path));
            return false;
        }
    }
    return true;
}

Times Median(std::vector<Times> runs)
{
    std::sort(runs.begin(), runs.end(),
              [](const Times& a, const Times& b) { return a.Total() < b.Total(); });
    return runs[runs.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    BenchOptions defaults;
    defaults.pages = 500;
    defaults.rounds = 5;
    const BenchOptions options =
        BenchOptions::Read(app.arguments().mid(1), QStringLiteral("invoicebench"), defaults);
    const int rounds = options.rounds;
    const int pages = std::max(2, options.pages);
    StampKit::InitPlugin();

    const QDir work(options.work);
    const QString one = QDir(options.samples).filePath(QStringLiteral("invoice_1page.pdf"));
    const QString many = work.filePath(QStringLiteral("invoice_%1pages.pdf").arg(pages));
    QStringList qpdfArgs{one,  "--pages", one, QString("1") + QString(",1").repeated(pages - 1),
                         "--", many};
    if (QProcess::execute("qpdf", qpdfArgs) != 0) {
        std::fprintf(stderr, "qpdf could not make the %d-page invoice\n", pages);
        return 1;
    }

    std::printf("invoice seal chain, median of %d rounds (ms)\n", rounds);
    std::printf("%-22s %9s %9s %9s %9s\n", "invoice", "record", "seal", "place", "total");
    for (const QString& path : {one, many}) {
        std::vector<Times> runs;
        for (int r = 0; r < rounds; ++r) {
            Times t;
            if (!SealOnce(path, &t))
                return 1;
            runs.push_back(t);
        }
        const Times m = Median(runs);
        std::printf("%-22s %9.1f %9.1f %9.1f %9.1f\n", qPrintable(QFileInfo(path).fileName()),
                    m.record, m.seal, m.place, m.Total());
    }
    return 0;
}
