#include "documentio.h"

#include "readerdocument.h"

namespace DocumentIO {

IG_Document* CreateBlank(const QList<CCA_GSize>& pageSizes, const QList<int>& rotations)
{
    auto* doc = new ReaderDocument();
    for (int i = 0; i < pageSizes.size(); ++i)
        doc->AppendPage(pageSizes.at(i), i < rotations.size() ? rotations.at(i) : 0);
    return doc;
}

IG_Document* Open(const QString& path, QString* error)
{
    if (error)
        *error = QStringLiteral("Cannot open %1: not supported yet.").arg(path);
    return nullptr;
}

} // namespace DocumentIO
