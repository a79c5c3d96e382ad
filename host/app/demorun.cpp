#include "demorun.h"

#include "host/document/documentio.h"
#include "host/document/g_application.h"
#include "host/document/ica_streamreader.h"
#include "host/document/ig_annot.h"
#include "host/document/ig_document.h"
#include "host/document/ig_page.h"
#include "host/framework/g_docview.h"
#include "host/framework/g_operation.h"
#include "host/framework/g_uicontext.h"
#include "host/utils/messageboxseam.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QTextStream>
#include <memory>

namespace
{
constexpr float kSealSize = 40.0f;   // millimetres
constexpr float kSealMargin = 20.0f; // from the right and bottom page edges
} // namespace

int DemoRun::Run(const QString& outDir, const QString& samplesDir, QTextStream& out,
                 const QString& password)
{
    using Utils::Widgets::MessageBoxRequest;
    using Utils::Widgets::MessageBoxSeam;
    MessageBoxSeam::SetAnswerer([&out](const MessageBoxRequest& request) {
        out << "message: " << request.title << ": " << request.text << "\n";
        return int(QMessageBox::Ok);
    });

    const QString source = QDir(samplesDir).filePath(QStringLiteral("contract.pdf"));
    QString error;
    bool passwordNeeded = false;
    std::unique_ptr<IG_Document> doc(DocumentIO::Open(source, password, &error, &passwordNeeded));
    if (!doc) {
        MessageBoxSeam::SetAnswerer(nullptr);
        if (passwordNeeded) {
            out << "error: " << error << " Give it with --password.\n";
            return 1;
        }
        out << "note: cannot open " << QDir::toNativeSeparators(source) << ": " << error << "\n";
        return 0;
    }
    out << "opened " << QDir::toNativeSeparators(source) << " (" << doc->PageCount() << " pages)\n";
    G_Application::Instance()->RegisterDocument(doc.get());
    int exitCode = 0;
    {
        G_UIContext context;
        G_DocView view(&context, doc.get());
        view.resize(1000, 800);
        view.show();
        context.SetCurrentDocView(&view);
        view.SetToolHandler(view.ToolHandlerByName("t_handtool"));

        IG_Page* page = view.Page(0);
        if (!G_Operation::FindGlobal("tp_stamp")) {
            out << "note: no plug-in registered \"tp_stamp\"; the copy is saved unstamped\n";
        } else if (!page) {
            out << "note: the document has no page to stamp\n";
        } else {
            const QString seal = QDir(samplesDir).filePath(QStringLiteral("seal_red.png"));
            const QByteArray local = QFile::encodeName(seal);
            ICA_StreamReader* stream =
                ICA_StreamReader::CreateFileStreamReader(local.constData(), 0);
            const int stampId = doc->AddResource(stream, 1, 0);
            if (stream)
                stream->Release();
            if (stampId <= 0)
                out << "note: the seal picture " << seal << " could not be embedded\n";
            G_Operation* op = context.CreateOperationByName("tp_stamp", QString());
            const CCA_GPoint position(page->Width() - kSealSize - kSealMargin,
                                      page->Height() - kSealSize - kSealMargin);
            op->Param()->Add("stampId", stampId);
            op->Param()->Add("stampSize", CCA_GSize(kSealSize, kSealSize));
            op->Param()->Add("imgPath", seal);
            op->Param()->Add("auto", 1);
            op->Param()->Add("position", position);
            op->Param()->Add("pageIndex", 0);
            const int result = op->PerformAction();
            const int annotId = op->Param()->GetInt32("annotid", 0);
            op->DeleteLater();
            IG_Annot* annot = annotId > 0 ? page->AnnotById(unsigned(annotId)) : nullptr;
            if (annot) {
                const CCA_GRect r = annot->GetRect();
                out << "stamped page 1 with annotation " << annotId << " at " << r.left << ","
                    << r.top << " mm, " << r.Width() << " x " << r.Height() << " mm\n";
            } else {
                out << "note: \"tp_stamp\" returned " << result << " and placed no stamp\n";
            }
        }

        QDir().mkpath(outDir);
        const QString target =
            QDir(outDir).absoluteFilePath(QStringLiteral("contract-stamped.pdf"));
        if (doc->SaveAs(target, &error)) {
            out << "saved " << QDir::toNativeSeparators(target) << "\n";
        } else {
            out << "error: saving " << QDir::toNativeSeparators(target) << " failed: " << error
                << "\n";
            exitCode = 1;
        }
    }
    G_Application::Instance()->UnregisterDocument(doc.get());
    MessageBoxSeam::SetAnswerer(nullptr);
    return exitCode;
}
