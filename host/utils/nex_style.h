#pragma once
// The reader's application style sheet: the looks its dialogs share. Widgets opt in with
// the dynamic property "class" (set before the widget is first shown):
//   "okBtn"       the accent button of a dialog (blue, white text)
//   "normalBtn"   a plain button (white, grey border)
//   "closeBtn"    the close cross in a dialog's title row (no text; red on hover)
//   "normalTitle" a dialog's title (bold, dark blue-grey)
// A widget's own style sheet still overrides these rules.

#include <QString>

class QApplication;

namespace Utils
{
namespace Widgets
{

class Nex_Style
{
public:
    static QString ApplicationStyleSheet(); // DPI-scaled
    static void Apply(QApplication* app);   // the 9 pt interface font and the style sheet
};

} // namespace Widgets
} // namespace Utils
