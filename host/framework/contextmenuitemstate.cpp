#include "contextmenuitemstate.h"

void ContextMenuItemState::SetFlag(int flag, bool on)
{
    const unsigned int bit = on ? 1u : 0u;
    if (flag & Checkable)
        checkable = bit;
    if (flag & Checked)
        checked = bit;
    if (flag & Enabled)
        enabled = bit;
    if (flag & Visible)
        visible = bit;
    if (flag & Default)
        isDefault = bit;
}

bool ContextMenuItemState::TestFlag(int flag) const
{
    return flag != 0 && (Flags() & flag) == flag;
}

int ContextMenuItemState::Flags() const
{
    return (checkable ? Checkable : 0) | (checked ? Checked : 0) | (enabled ? Enabled : 0) |
           (visible ? Visible : 0) | (isDefault ? Default : 0);
}
