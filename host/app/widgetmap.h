#pragma once
// A hook for scripted desktop sessions (tests/host/app/xsession.sh, scripts/screenshots.sh):
// a program driving the reader from outside with the X pointer and keyboard cannot see
// Qt's object names, so while MINIREADER_WIDGET_MAP names a file the reader keeps in it
// where its named things are on the screen. One line each, global pixels:
//   widget <objectName> <x> <y> <width> <height>   every visible named widget
//   item <viewName>/<row> <x> <y> <width> <height> the shown rows of named item views
//   page <index> <x> <y> <width> <height>          the shown pages of the current view
//   state <tool> <undoIndex> <clean>               the current view's tool and undo stack
// The file is replaced whole (never seen half written) whenever its text changes.

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

class MainWindow;

class WidgetMap : public QObject
{
    Q_OBJECT
public:
    static constexpr const char* kEnvironment = "MINIREADER_WIDGET_MAP";
    static constexpr int kIntervalMs = 100;

    WidgetMap(const MainWindow* window, const QString& path, QObject* parent = nullptr);

    // The lines as they stand now.
    QStringList Lines() const;

private:
    void write();

    const MainWindow* m_window;
    QString m_path;
    QString m_written;
    QTimer m_timer;
};
