#pragma once

#include <QString>

// State of one context-menu entry. Flag values: 1 checkable, 2 checked, 4 enabled,
// 8 visible, 16 shown as the default entry. `text` replaces the label when not empty;
// `data` is reserved.
struct ContextMenuItemState {
    unsigned int checkable : 1;
    unsigned int checked : 1;
    unsigned int enabled : 1;
    unsigned int visible : 1;
    unsigned int isDefault : 1;
    QString text;
    int data = 0;

    enum Flag { Checkable = 1, Checked = 2, Enabled = 4, Visible = 8, Default = 16 };

    ContextMenuItemState() : checkable(0), checked(0), enabled(0), visible(0), isDefault(0) {}
    void SetFlag(int flag, bool on);
    bool TestFlag(int flag) const;
    int Flags() const;
};
