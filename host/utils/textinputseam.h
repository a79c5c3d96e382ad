#pragma once
// The seam every text-input dialog of the reader goes through (use Nex_InputDialog, never
// QInputDialog directly), such as the password asked for when a protected file is opened.
//
// When SetAnswerer is given a function, no window is shown: the function receives each
// request and returns true with the text for OK, or false for Cancel. Every request,
// shown or answered, is recorded in History until Clear. Tests and batch runs use it to
// answer without a person; SetAnswerer(nullptr) shows windows again.

#include <QList>
#include <QString>
#include <functional>

namespace Utils
{

struct TextInputRequest {
    QString title;
    QString label;
    bool password = false; // the typed text is hidden
};

class TextInputSeam
{
public:
    using Answerer = std::function<bool(const TextInputRequest&, QString* text)>;
    static void SetAnswerer(Answerer answerer);
    static bool HasAnswerer();
    static bool Answer(const TextInputRequest& request, QString* text); // only when HasAnswerer
    static void Record(const TextInputRequest& request);
    static QList<TextInputRequest> History();
    static void Clear(); // drops the history and the answerer
};

} // namespace Utils
