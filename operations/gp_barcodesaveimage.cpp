#include "gp_barcodesaveimage.h"

#include "host/document/g_application.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>

namespace
{

// Moves `source` over `destination`. Nothing is given up before the copy can happen: a
// missing source leaves the destination alone, and the source goes only once copied.
bool moveReplacing(const QString& source, const QString& destination)
{
    const QFileInfo from(source);
    if (!from.isFile())
        return false;
    if (from == QFileInfo(destination))
        return true;
    if (QFile::exists(destination))
        QFile::remove(destination);
    const bool copied = QFile::copy(source, destination);
    if (copied)
        QFile::remove(source);
    return copied;
}

} // namespace

G_Operation* GP_BarcodeSaveImage::Clone()
{
    auto* copy = new GP_BarcodeSaveImage;
    copy->CopyFrom(this);
    return copy;
}

GP_BarcodeSaveImage::~GP_BarcodeSaveImage() = default;

const char* GP_BarcodeSaveImage::Name()
{
    return "tb_barcodesaveimage";
}

int GP_BarcodeSaveImage::DoAction()
{
    const QString source = Param()->GetQString("saveFilePath");
    const QString destination = Param()->GetQString("saveDestPath");
    qDebug() << "GP_BarcodeSaveImage::DoAction" << source << destination;
    if (source.isEmpty() || destination.isEmpty()) {
        Param()->Add("saveFile", 0);
        return 0;
    }

    const QString suffix = QFileInfo(destination).suffix().toLower();
    qDebug() << suffix;
    bool saved = false;
    if (suffix == QLatin1String("ofd") || suffix == QLatin1String("pdf")) {
        const CCA_WString from = CCA_StringConverter::utf8_to_unicode(GQ_ToCAS(source));
        const CCA_WString to = CCA_StringConverter::utf8_to_unicode(GQ_ToCAS(destination));
        G_Engine* engine = G_Application::Instance()->Engine();
        G_ConvertService* convert = engine ? engine->ConvertService() : nullptr;
        G_EngineHandle handle = engine ? engine->AcquireHandle(0) : nullptr;
        if (convert && handle) {
            saved = convert->ConvertFile(handle, from.c_str(), to.c_str(),
                                         std::make_shared<const NexJson>());
        }
        if (engine)
            engine->ReleaseHandle(&handle);
    } else {
        saved = moveReplacing(source, destination);
    }
    Param()->Add("saveFile", saved ? 1 : 0);
    return 1;
}
