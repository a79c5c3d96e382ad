#include "stampparam.h"

void RegisterStampParamType()
{
    qRegisterMetaType<StampParam>("StampParam");
}
