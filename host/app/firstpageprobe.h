#pragma once
// Measures how long the reader takes to show a document: watches every paint, and after
// the first paint of a document view that has pages, prints the time since `clock`
// started ("first page shown after N ms") and quits the application with 0. When no
// page is shown within `limitMs`, it prints that and quits with 1. Used by the start-up
// benchmark through `minireader --first-page-time FILE`.

#include <QElapsedTimer>
#include <QObject>

class QTextStream;

class FirstPageProbe : public QObject
{
    Q_OBJECT
public:
    FirstPageProbe(const QElapsedTimer& clock, QTextStream& out, int limitMs = 30000);
    ~FirstPageProbe() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void report();

    QElapsedTimer m_clock;
    QTextStream& m_out;
    bool m_seen = false;
};
