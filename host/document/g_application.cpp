#include "g_application.h"

#include "ig_document.h"

#include <QHash>
#include <memory>

struct G_Application::Private {
    G_Engine engine;
    G_Logger logger;
    QHash<IG_Document*, std::shared_ptr<G_DocumentContext>> contexts;
    QList<IG_Document*> order;
};

G_Application::G_Application() : d(std::make_unique<Private>()) {}

G_Application* G_Application::Instance()
{
    // Made on first use and kept for the life of the process: the plug-in may ask for it
    // from destructors that run late.
    static G_Application* app = new G_Application();
    return app;
}

G_Engine* G_Application::Engine() { return &d->engine; }

G_Logger* G_Application::Logger() { return &d->logger; }

void G_Application::RegisterDocument(IG_Document* doc)
{
    if (!doc || d->contexts.contains(doc))
        return;
    d->contexts.insert(doc, std::make_shared<G_DocumentContext>(doc));
    d->order.append(doc);
}

void G_Application::UnregisterDocument(IG_Document* doc)
{
    d->contexts.remove(doc);
    d->order.removeAll(doc);
}

int G_Application::DocumentCount() const { return d->order.size(); }

G_DocumentContext* G_Application::DocumentContext(IG_Document* doc) const
{
    const auto it = d->contexts.constFind(doc);
    return it == d->contexts.constEnd() ? nullptr : it.value().get();
}

void G_Logger::Write(const char* utf8)
{
    const QString text = QString::fromUtf8(utf8 ? utf8 : "");
    for (const QString& line : text.split(QLatin1Char('\n')))
        m_lines.append(line);
}
