#pragma once

#include "host/framework/g_operation.h"

// "d_embedpageannot": writes the stamp selected last into the content of page "pageIndex"
// and deletes the annotation. Embedding cannot be undone, so the undo history is cleared.
// Returns 0 and changes nothing (a layer made for it stays) when nothing is selected, when
// the page does not hold the selected stamp, or when the stamp cannot be embedded.
class GP_EmbedStamp : public G_Operation
{
public:
    G_Operation* Clone() override;
    ~GP_EmbedStamp() override;
    const char* Name() override;
    int AuthorityType() override;
    int DoAction() override;
};
