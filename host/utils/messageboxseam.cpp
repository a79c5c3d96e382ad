#include "messageboxseam.h"

namespace Utils
{
namespace Widgets
{

namespace
{
struct SeamState {
    MessageBoxSeam::Answerer answerer;
    QList<MessageBoxRequest> history;
};
SeamState& state()
{
    static SeamState s;
    return s;
}
} // namespace

void MessageBoxSeam::SetAnswerer(Answerer answerer)
{
    state().answerer = std::move(answerer);
}

bool MessageBoxSeam::HasAnswerer()
{
    return bool(state().answerer);
}

int MessageBoxSeam::Answer(const MessageBoxRequest& request)
{
    // Copy first: an answerer may replace itself while answering.
    const Answerer answerer = state().answerer;
    return answerer ? answerer(request) : 0;
}

void MessageBoxSeam::Record(const MessageBoxRequest& request)
{
    state().history.append(request);
}

QList<MessageBoxRequest> MessageBoxSeam::History()
{
    return state().history;
}

void MessageBoxSeam::Clear()
{
    state().history.clear();
}

} // namespace Widgets
} // namespace Utils
