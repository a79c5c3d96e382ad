#include "nex_shadow.h"

#include "nex_dpi.h"

namespace Utils
{
namespace Widgets
{

int Nex_Shadow::ShadowWidth()
{
    return DPI::Nex_Util::ScalePx(kBaseWidth);
}

} // namespace Widgets
} // namespace Utils
