#pragma once
// Creating and opening documents. The model in memory is the truth while a document is
// open; these functions read it from a file or build it empty.

#include "../base/ca_types.h"

#include <QList>
#include <QString>

class IG_Document;

namespace DocumentIO
{
// Opens a PDF or OFD file, recognised by its content (a zip package is OFD). Null with a
// clear message in `error` when the file is missing, not a document, damaged or needs a
// password. The caller owns the result. OFD documents are shown and stamped but not saved
// (see ofdbackend.h).
IG_Document* Open(const QString& path, QString* error);
// The same for a file that needs a password to open (an empty one for none). A file that
// needs one it was not given, or was given a wrong one, sets `passwordNeeded` (may be
// null) so the caller can ask the user again.
IG_Document* Open(const QString& path, const QString& password, QString* error,
                  bool* passwordNeeded = nullptr);
// False with a message when the pages of a document opened from a file cannot be drawn.
// Open does not load the renderer (a batch run never draws); a reader asks this first.
bool CheckDrawable(IG_Document* doc, QString* error);
// A document in memory with blank pages of the given sizes (millimetres) and rotations.
IG_Document* CreateBlank(const QList<CCA_GSize>& pageSizes, const QList<int>& rotations = {});
} // namespace DocumentIO
