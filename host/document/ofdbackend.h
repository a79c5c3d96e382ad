#pragma once
// The OFD back end: the package is read whole on opening (OfdReader, with its limits) and
// pages are drawn from that data. The model's stamps on an OFD document live in memory:
// Save refuses with a message saying so, and the document stays open unchanged, so the
// user can still see and undo them. (OFD files are written by the seal maker and by the
// convert service, not by saving a document.)

#include "documentbackend.h"
#include "ofdreader.h"

#include <memory>

class OfdBackend : public DocumentBackend
{
public:
    // Opens the package at `path` into a new document; null with a message when it cannot.
    static std::unique_ptr<ReaderDocument> Open(const QString& path, QString* error);

    bool LoadPage(ReaderPage* page) override;
    QImage PageImage(int pageIndex, int dpi) override;
    QImage AnnotAppearance(const ReaderAnnot* annot) override;
    bool Save(ReaderDocument* doc, const QString& path, QString* error,
              G_SaveReport* report) override;
    bool AllowsAnnotationChanges() const override { return true; }
    QMap<QString, QString> Fields() const override { return m_data.tags; }

    const OfdDocumentData& Data() const { return m_data; }

private:
    OfdDocumentData m_data;
    int m_cachedPage = -1;
    int m_cachedDpi = 0;
    QImage m_cached;
};
