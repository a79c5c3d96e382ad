#include "gp_applysignature.h"

G_Operation* GP_ApplySignature::Clone()
{
    auto* op = new GP_ApplySignature;
    op->CopyFrom(this);
    return op;
}
