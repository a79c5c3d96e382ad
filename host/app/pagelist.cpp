#include "pagelist.h"

#include <QCoreApplication>
#include <QStringList>
#include <algorithm>

namespace
{

QString tr(const char* text)
{
    return QCoreApplication::translate("PageList", text);
}

// A page number counted from 1, or "last"; false for anything else.
bool parsePage(const QString& text, int last, int* page)
{
    if (text.compare(QLatin1String("last"), Qt::CaseInsensitive) == 0) {
        *page = last;
        return true;
    }
    for (const QChar c : text) {
        if (!c.isDigit())
            return false;
    }
    bool ok = false;
    *page = text.toInt(&ok);
    return ok && *page >= 1;
}

} // namespace

bool PageList::Parse(const QString& text, QString* error)
{
    const QString trimmed = text.trimmed();
    if (trimmed.compare(QLatin1String("current"), Qt::CaseInsensitive) == 0 ||
        trimmed.compare(QLatin1String("all"), Qt::CaseInsensitive) == 0) {
        m_kind = trimmed.compare(QLatin1String("all"), Qt::CaseInsensitive) == 0 ? Kind::All
                                                                                 : Kind::Current;
        m_ranges.clear();
        m_text = trimmed.toLower();
        return true;
    }
    if (trimmed.isEmpty()) {
        *error = tr("The page list is empty: give current, all, or pages such as 1,3-5,last.");
        return false;
    }
    QVector<Range> ranges;
    const QStringList items = trimmed.split(QLatin1Char(','));
    for (const QString& raw : items) {
        const QString item = raw.trimmed();
        if (item.isEmpty()) {
            *error = tr("The page list \"%1\" has an empty entry.").arg(trimmed);
            return false;
        }
        const QStringList ends = item.split(QLatin1Char('-'));
        Range range;
        const bool ok = ends.size() <= 2 &&
                        parsePage(ends.first().trimmed(), kLast, &range.first) &&
                        parsePage(ends.last().trimmed(), kLast, &range.last);
        if (!ok) {
            *error = tr("\"%1\" in the page list is not a page: pages count from 1 and are "
                        "written as 3, 3-5, last or 3-last.")
                         .arg(item);
            return false;
        }
        if (range.first != kLast && range.last != kLast && range.first > range.last) {
            *error = tr("The range %1 in the page list runs backwards.").arg(item);
            return false;
        }
        ranges.append(range);
    }
    m_kind = Kind::Ranges;
    m_ranges = ranges;
    m_text = trimmed;
    return true;
}

bool PageList::Resolve(int pageCount, int current, QVector<int>* pages, QString* error) const
{
    pages->clear();
    if (pageCount <= 0) {
        *error = tr("The document has no pages.");
        return false;
    }
    switch (m_kind) {
    case Kind::Current:
        pages->append(qBound(0, current, pageCount - 1));
        return true;
    case Kind::All:
        for (int i = 0; i < pageCount; ++i)
            pages->append(i);
        return true;
    case Kind::Ranges:
        break;
    }
    for (const Range& range : m_ranges) {
        const int first = range.first == kLast ? pageCount : range.first;
        const int last = range.last == kLast ? pageCount : range.last;
        if (first > last) {
            *error = tr("The range %1-%2 runs backwards: the document has %3 pages.")
                         .arg(first)
                         .arg(last)
                         .arg(pageCount);
            return false;
        }
        if (last > pageCount) {
            *error = tr("Page %1 is past the end: the document has %2 pages.")
                         .arg(std::max(first, pageCount + 1))
                         .arg(pageCount);
            return false;
        }
        for (int page = first; page <= last; ++page)
            pages->append(page - 1);
    }
    std::sort(pages->begin(), pages->end());
    pages->erase(std::unique(pages->begin(), pages->end()), pages->end());
    return true;
}
