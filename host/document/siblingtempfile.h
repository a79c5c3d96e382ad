#pragma once

#include <QString>

// A file written beside its target and renamed over it only when complete, so that a
// failed or interrupted write never damages what was there. The temporary name stays on
// the target's file system, which keeps the final rename a single step.
class SiblingTempFile {
public:
    explicit SiblingTempFile(const QString& target);
    ~SiblingTempFile(); // removes the temporary file unless committed

    // Creates the temporary file; false with a message when the folder cannot take it.
    bool Reserve(QString* error);
    QString Path() const { return m_temp; }
    // Gives the file the target's permissions (or rw-r--r-- for a new file) and renames it
    // over the target. False with a message when that fails; the target is then untouched.
    bool Commit(QString* error);

    SiblingTempFile(const SiblingTempFile&) = delete;
    SiblingTempFile& operator=(const SiblingTempFile&) = delete;

private:
    QString m_target;
    QString m_temp;
    bool m_committed = false;
};
