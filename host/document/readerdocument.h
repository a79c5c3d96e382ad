#pragma once

#include "ig_document.h"

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QString>
#include <memory>
#include <string>
#include <vector>

class DocumentBackend;
class ReaderAnnot;
class ReaderPage;

// A picture embedded with AddResource: the file's bytes as given and the decoded image.
struct PictureResource {
    int id = 0;
    QByteArray bytes;
    QByteArray format; // "png" or "jpeg"
    QByteArray digest;
    QImage image;
};

// The document model. It owns its pages, every annotation ever made on them (also the
// removed ones, until it is destroyed) and the picture resources. A format back end, when
// there is one, supplies page rasters and annotations from the file and writes files.
class ReaderDocument : public IG_Document
{
public:
    ReaderDocument();
    ~ReaderDocument() override;

    int PageCount() const override { return int(m_pages.size()); }
    IG_Page* PageAt(int index) const override;
    CCA_String FilePath() const override;
    bool IsReadOnly() const override;

    int AddResource(ICA_StreamReader* stream, int type, int flag) override;
    QImage ResourceImage(int resourceId) const override;

    quint64 Revision() const override { return m_revision; }
    quint64 ContentRevision() const override { return m_contentRevision; }
    bool IsModified() const override { return m_modified; }

    bool SaveAs(const QString& path, QString* error) override;
    bool SaveAs(const QString& path, QString* error, G_SaveReport* report) override;
    bool HasSignatures() const override;

    // Model side.
    ReaderPage* Page(int index) const;
    void AppendPage(const CCA_GSize& sizeMm, int rotation);
    void SetBackend(std::unique_ptr<DocumentBackend> backend);
    DocumentBackend* Backend() const { return m_backend.get(); }
    QString Path() const { return m_path; }
    void SetPath(const QString& path) { m_path = path; }
    // Read-only: the document itself forbids changes (the file's permissions say so, or a
    // caller decided it). A file that merely cannot be written on disk is not read-only:
    // it is changed in memory and saved elsewhere with Save As.
    void SetReadOnly(bool readOnly) { m_readOnly = readOnly; }
    // Whether the file (and the folder it lives in) can be written, so Save can replace it.
    bool IsFileWritable() const { return m_fileWritable; }
    void SetFileWritable(bool writable) { m_fileWritable = writable; }
    // Picture bytes → resource id (0 when not a PNG or JPEG picture).
    int AddPicture(const QByteArray& bytes);
    const PictureResource* Resource(int id) const;
    const std::vector<std::unique_ptr<PictureResource>>& Resources() const { return m_resources; }

    unsigned int NextAnnotId() { return ++m_lastAnnotId; }
    // What a stamp's content JSON says: "RunTime", the first appearance's "ResourceID" and
    // "SubType". The last one read is kept, as a batch gives every stamp the same content.
    struct StampContent {
        bool valid = false; // a JSON object
        bool runTime = false;
        int resourceId = 0;
        std::string subType;
    };
    const StampContent& ParseStampContent(const std::string& json);
    ReaderAnnot* Adopt(std::unique_ptr<ReaderAnnot> annot);
    // Every change goes through here: the revision always grows; `modifying` marks the
    // document as differing from its file (run-time annotations do not).
    void Changed(bool modifying);
    void MarkSaved() { m_modified = false; }

private:
    std::vector<std::unique_ptr<ReaderPage>> m_pages;
    std::vector<std::unique_ptr<ReaderAnnot>> m_annots;
    std::vector<std::unique_ptr<PictureResource>> m_resources;
    QHash<QByteArray, int> m_resourceByBytes; // picture bytes → resource id
    std::unique_ptr<DocumentBackend> m_backend;
    QString m_path;
    bool m_readOnly = false;
    bool m_fileWritable = true;
    quint64 m_revision = 1;
    quint64 m_contentRevision = 1;
    bool m_modified = false;
    unsigned int m_lastAnnotId = 0;
    std::string m_lastContentJson;
    StampContent m_lastContent;
};
