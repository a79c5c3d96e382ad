#pragma once
// The seal maker library (libsealmaker.so): turns a SealDescription into a one-page seal
// document (OFD) that the reader's engine opens and renders.
//
//   SMK::ISealMaker* maker = SMK::CreateSealMaker();
//   maker->SetSealDescription(&description); // copies what it needs
//   bool ok = maker->SaveSealDocument(utf8Path);
//   SMK::DestorySealMaker(maker);

#include "sealdescription.h"

#if defined(SEALMAKER_LIBRARY)
#define SEALMAKER_EXPORT __attribute__((visibility("default")))
#else
#define SEALMAKER_EXPORT
#endif

namespace SMK
{

class ISealMaker
{
public:
    virtual ~ISealMaker() = default;
    virtual void SetSealDescription(const SealDescription* description) = 0;
    // Writes the seal document at `utf8Path` (replacing a file there only when complete).
    virtual bool SaveSealDocument(const char* utf8Path) = 0;
};

SEALMAKER_EXPORT ISealMaker* CreateSealMaker();
SEALMAKER_EXPORT void DestorySealMaker(ISealMaker* maker);

} // namespace SMK
