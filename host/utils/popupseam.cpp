#include "popupseam.h"

namespace Utils
{
namespace Widgets
{

namespace
{
struct SeamState {
    PopupSeam::Answerer answerer;
    QList<QPair<QString, QPoint>> history;
};
SeamState& state()
{
    static SeamState s;
    return s;
}
} // namespace

void PopupSeam::SetAnswerer(Answerer answerer)
{
    state().answerer = std::move(answerer);
}

bool PopupSeam::HasAnswerer()
{
    return bool(state().answerer);
}

void PopupSeam::Answer(Nex_Popup* popup)
{
    // Copy first: an answerer may replace itself while answering.
    const Answerer answerer = state().answerer;
    if (answerer)
        answerer(popup);
}

void PopupSeam::Record(const QString& popupName, const QPoint& at)
{
    state().history.append(qMakePair(popupName, at));
}

QList<QPair<QString, QPoint>> PopupSeam::History()
{
    return state().history;
}

void PopupSeam::Clear()
{
    state().history.clear();
}

} // namespace Widgets
} // namespace Utils
