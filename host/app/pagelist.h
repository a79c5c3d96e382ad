#pragma once
// The pages a batch run stamps, written as a person writes them: "current", "all", or
// page numbers and ranges counted from 1 and joined by commas ("1,3-5", "last", "2-last").
// Parse checks the text alone; Resolve turns it into page indexes of one document, so one
// list serves files of different lengths.

#include <QString>
#include <QVector>

class PageList
{
public:
    // False with a message when `text` is not a page list; the list is then unchanged.
    bool Parse(const QString& text, QString* error);
    // The 0-based indexes of the pages of a `pageCount`-page document, ascending, each once.
    // `current` is the index of the page the view shows. False with a message when a page
    // lies past the end of the document or a range runs backwards.
    bool Resolve(int pageCount, int current, QVector<int>* pages, QString* error) const;
    QString Text() const { return m_text; }

private:
    enum class Kind { Current, All, Ranges };
    static constexpr int kLast = -1; // "last" in a range

    struct Range {
        int first = 1;
        int last = 1;
    };

    Kind m_kind = Kind::Current;
    QVector<Range> m_ranges;
    QString m_text = QStringLiteral("current");
};
