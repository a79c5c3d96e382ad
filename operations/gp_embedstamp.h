#pragma once

#include "host/framework/g_operation.h"

// "d_embedpageannot": writes the stamp selected last into the content of page "pageIndex"
// and deletes the annotation. Embedding cannot be undone, so the undo history is cleared.
class GP_EmbedStamp : public G_Operation
{
public:
    G_Operation* Clone() override;
    ~GP_EmbedStamp() override;
    const char* Name() override;
    int AuthorityType() override;
    int DoAction() override;
};
