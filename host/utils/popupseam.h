#pragma once
// The seam every Nex_Popup::exec goes through.
//
// When SetAnswerer is given a function, exec shows no window: it places the popup at the
// point it would have shown it, hands the popup to the function (which fills it in as a
// person would, e.g. chooses an entry) and returns. Batch runs choose a stamp this way;
// tests use it where they need a placement but not the popup's looks. Every exec, shown
// or answered, is recorded in History (the popup's object name and the screen point asked
// for, before it is kept on screen).

#include <QList>
#include <QPair>
#include <QPoint>
#include <QString>
#include <functional>

namespace Utils
{
namespace Widgets
{

class Nex_Popup;

class PopupSeam
{
public:
    using Answerer = std::function<void(Nex_Popup* popup)>;
    static void SetAnswerer(Answerer answerer); // nullptr: show popups again
    static bool HasAnswerer();
    static void Answer(Nex_Popup* popup); // only when HasAnswerer
    static void Record(const QString& popupName, const QPoint& at);
    static QList<QPair<QString, QPoint>> History();
    static void Clear(); // drops the history
};

} // namespace Widgets
} // namespace Utils
