#pragma once
// Asks before a stamp is embedded into the page content of a digitally signed document:
// adding annotations keeps earlier signatures valid, but changing the pages changes what
// was signed. It takes part in "d_embedpageannot" runs on a view whose document carries
// signatures, asks through the UI context's message box (Yes / No, No by default) and
// stops the run, before anything is done, unless the answer is Yes. A run without a UI
// context cannot ask and is stopped. Constructed once by HostComponents::RegisterAll,
// before plug-ins load, so it asks before any plug-in interceptor prepares the run.

#include "g_operationinterceptor.h"

class SignedEmbedGuard : public G_OperationInterceptor
{
public:
    bool Intercepts(G_Operation* op) override;
    bool PrepareDataHandle(G_Operation* op, bool performed) override;
};
