#include "firstpageprobe.h"

#include "host/framework/g_docview.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTextStream>
#include <QTimer>

FirstPageProbe::FirstPageProbe(const QElapsedTimer& clock, QTextStream& out, int limitMs)
    : m_clock(clock), m_out(out)
{
    QCoreApplication::instance()->installEventFilter(this);
    QTimer::singleShot(limitMs, this, [this, limitMs] {
        if (m_seen)
            return;
        m_out << "no page shown within " << limitMs << " ms\n";
        m_out.flush();
        QCoreApplication::exit(1);
    });
}

FirstPageProbe::~FirstPageProbe()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
}

bool FirstPageProbe::eventFilter(QObject* watched, QEvent* event)
{
    if (m_seen || event->type() != QEvent::Paint)
        return false;
    auto* view = qobject_cast<G_DocView*>(watched->parent());
    if (!view || watched != view->viewport() || view->PageCount() == 0)
        return false;
    // The paint itself runs after this filter: the time is taken once it is done.
    m_seen = true;
    QTimer::singleShot(0, this, &FirstPageProbe::report);
    return false;
}

void FirstPageProbe::report()
{
    m_out << "first page shown after " << QString::number(m_clock.nsecsElapsed() / 1e6, 'f', 1)
          << " ms\n";
    m_out.flush();
    QCoreApplication::exit(0);
}
