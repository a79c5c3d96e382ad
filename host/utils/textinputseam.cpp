#include "textinputseam.h"

namespace Utils
{

namespace
{
struct SeamState {
    TextInputSeam::Answerer answerer;
    QList<TextInputRequest> history;
};
SeamState& state()
{
    static SeamState s;
    return s;
}
} // namespace

void TextInputSeam::SetAnswerer(Answerer answerer)
{
    state().answerer = std::move(answerer);
}

bool TextInputSeam::HasAnswerer()
{
    return bool(state().answerer);
}

bool TextInputSeam::Answer(const TextInputRequest& request, QString* text)
{
    const Answerer answerer = state().answerer; // a copy: it may replace itself
    QString answer;
    const bool accepted = answerer && answerer(request, &answer);
    if (text)
        *text = accepted ? answer : QString();
    return accepted;
}

void TextInputSeam::Record(const TextInputRequest& request)
{
    state().history.append(request);
}

QList<TextInputRequest> TextInputSeam::History()
{
    return state().history;
}

void TextInputSeam::Clear()
{
    state() = SeamState();
}

} // namespace Utils
