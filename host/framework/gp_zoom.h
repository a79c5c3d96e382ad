#pragma once
// "v_zoom": sets the view's zoom to the parameter "zoomIndex" (percent, float), kept
// within 10–500. 0 without a view or without the parameter.

#include "g_operation.h"

class GP_Zoom : public G_Operation
{
public:
    G_Operation* Clone() override;
    const char* Name() override { return "v_zoom"; }
    int AuthorityType() override { return 0; }
    int DoAction() override;
};
