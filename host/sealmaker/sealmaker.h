#pragma once

#include "isealmaker.h"

class QString;

namespace SMK
{

// The maker behind CreateSealMaker: keeps a copy of the description and writes it as a
// one-page OFD document (see isealmaker.h for what is drawn where).
class SealMaker : public ISealMaker
{
public:
    void SetSealDescription(const SealDescription* description) override;
    bool SaveSealDocument(const char* utf8Path) override;

    // The same with a message saying why it failed.
    bool Save(const QString& path, QString* error) const;

private:
    bool m_hasDescription = false;
    SealDescription m_description;
};

} // namespace SMK
