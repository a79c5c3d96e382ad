#include "readerdocument.h"

#include "documentbackend.h"
#include "ica_streamreader.h"
#include "pdfbackend.h"
#include "readerannot.h"
#include "readerpage.h"

#include <QCryptographicHash>
#include <nlohmann/json.hpp>

ReaderDocument::ReaderDocument() = default;

// Pages and annotations go before the back end: nothing a page holds may outlive it,
// and the back end may still be asked about annotations while they are torn down.
ReaderDocument::~ReaderDocument()
{
    m_annots.clear();
    m_pages.clear();
    m_backend.reset();
}

IG_Page* ReaderDocument::PageAt(int index) const
{
    return Page(index);
}

ReaderPage* ReaderDocument::Page(int index) const
{
    if (index < 0 || index >= int(m_pages.size()))
        return nullptr;
    return m_pages[size_t(index)].get();
}

void ReaderDocument::AppendPage(const CCA_GSize& sizeMm, int rotation)
{
    m_pages.push_back(std::make_unique<ReaderPage>(this, int(m_pages.size()), sizeMm, rotation));
}

void ReaderDocument::SetBackend(std::unique_ptr<DocumentBackend> backend)
{
    m_backend = std::move(backend);
}

CCA_String ReaderDocument::FilePath() const
{
    return GQ_ToCAS(m_path);
}

bool ReaderDocument::IsReadOnly() const
{
    return m_readOnly || (m_backend && !m_backend->AllowsAnnotationChanges());
}

int ReaderDocument::AddResource(ICA_StreamReader* stream, int type, int /*flag*/)
{
    // Type 1 is a picture; the reader has no other kind of resource.
    if (!stream || type != 1)
        return 0;
    return AddPicture(stream->ReadAll());
}

int ReaderDocument::AddPicture(const QByteArray& bytes)
{
    QByteArray format;
    if (bytes.startsWith(QByteArray("\x89PNG\r\n\x1a\n", 8)))
        format = "png";
    else if (bytes.startsWith(QByteArray("\xFF\xD8\xFF", 3)))
        format = "jpeg";
    else
        return 0;
    // The bytes themselves are the key: a batch adds the same picture for every page, and a
    // hash of the bytes plus one comparison is much cheaper than a digest each time.
    const auto found = m_resourceByBytes.constFind(bytes);
    if (found != m_resourceByBytes.constEnd())
        return found.value();
    const QByteArray digest = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
    QImage image = QImage::fromData(bytes, format.constData());
    if (image.isNull() || image.width() <= 0 || image.height() <= 0)
        return 0;
    auto res = std::make_unique<PictureResource>();
    res->id = int(m_resources.size()) + 1;
    res->bytes = bytes;
    res->format = format;
    res->digest = digest;
    res->image = std::move(image);
    const int id = res->id;
    m_resourceByBytes.insert(res->bytes, id);
    m_resources.push_back(std::move(res));
    if (m_backend)
        m_backend->PictureAdded(m_resources.back().get());
    // A resource alone changes nothing visible nor saved until an annotation uses it.
    return id;
}

const PictureResource* ReaderDocument::Resource(int id) const
{
    if (id <= 0 || id > int(m_resources.size()))
        return nullptr;
    return m_resources[size_t(id - 1)].get();
}

QImage ReaderDocument::ResourceImage(int resourceId) const
{
    const PictureResource* res = Resource(resourceId);
    return res ? res->image : QImage();
}

const ReaderDocument::StampContent& ReaderDocument::ParseStampContent(const std::string& json)
{
    if (m_lastContent.valid && json == m_lastContentJson)
        return m_lastContent;
    m_lastContent = StampContent();
    m_lastContentJson = json;
    const auto content = nlohmann::json::parse(json, nullptr, false);
    if (content.is_discarded() || !content.is_object())
        return m_lastContent;
    m_lastContent.valid = true;
    if (content.contains("RunTime") && content["RunTime"].is_boolean())
        m_lastContent.runTime = content["RunTime"].get<bool>();
    if (content.contains("Appearance") && content["Appearance"].is_array()) {
        for (const auto& ap : content["Appearance"]) {
            if (ap.is_object() && ap.contains("ResourceID") && ap["ResourceID"].is_number()) {
                const double id = ap["ResourceID"].get<double>();
                if (id > 0 && id < 2147483647.0)
                    m_lastContent.resourceId = int(id);
                break;
            }
        }
    }
    if (content.contains("SubType") && content["SubType"].is_string())
        m_lastContent.subType = content["SubType"].get<std::string>();
    return m_lastContent;
}

ReaderAnnot* ReaderDocument::Adopt(std::unique_ptr<ReaderAnnot> annot)
{
    ReaderAnnot* raw = annot.get();
    m_annots.push_back(std::move(annot));
    return raw;
}

void ReaderDocument::Changed(bool modifying)
{
    ++m_revision;
    if (modifying) {
        m_modified = true;
        ++m_contentRevision;
    }
}

bool ReaderDocument::HasSignatures() const
{
    return m_backend && m_backend->HasSignatures();
}

bool ReaderDocument::SaveAs(const QString& path, QString* error)
{
    return SaveAs(path, error, nullptr);
}

bool ReaderDocument::SaveAs(const QString& path, QString* error, G_SaveReport* report)
{
    if (report)
        *report = G_SaveReport();
    auto fail = [error](const QString& message) {
        if (error)
            *error = message;
        return false;
    };
    if (path.isEmpty())
        return fail(QStringLiteral("No file name was given."));
    if (m_backend && !m_backend->AllowsAnnotationChanges())
        return fail(QStringLiteral("The document does not permit changing annotations."));
    QString message;
    if (!m_backend) {
        // A document made in memory is written as a PDF of blank pages.
        std::unique_ptr<PdfBackend> blank = PdfBackend::CreateBlank(this, &message);
        if (!blank)
            return fail(message);
        m_backend = std::move(blank);
    }
    if (!m_backend->Save(this, path, &message, report))
        return fail(message);
    for (const auto& a : m_annots)
        a->ClearEdited();
    m_path = path;
    m_fileWritable = true;
    m_modified = false;
    ++m_revision;
    ++m_contentRevision;
    return true;
}
