#pragma once
// The command line of `minireader stamp`: what to stamp, where, and where the copies go.
// Parse checks everything that can be checked without opening a file; the help text is
// the command's documentation.

#include "pagelist.h"

#include <QSize>
#include <QString>
#include <QStringList>

struct BatchOptions {
    enum Result { Ok, Help, Error };
    // `arguments` are those after "stamp". Error comes with a message for the user.
    Result Parse(const QStringList& arguments, QString* error);
    static QString HelpText();

    // Where the stamped copy of `input` goes: the output file, or the input's file name in
    // the output folder.
    QString OutputFor(const QString& input) const;
    // The command line of a worker that stamps `input` into `output` with the stamp already
    // found (`stampPath`, `stampSize`); the password travels in kPasswordVariable.
    QStringList WorkerArguments(const QString& input, const QString& output,
                                const QString& stampPath, const QSize& stampSize) const;

    // Read when --password is not given, so that workers need not show it on their command
    // line.
    static constexpr const char* kPasswordVariable = "STAMPREADER_PASSWORD";

    QStringList inputs;
    QString output;
    bool outputIsFolder = false;
    QString stamp;    // a picture file or the name of a library stamp
    QSize size;       // millimetres; invalid: the stamp's own, height 0: the picture's shape
    int marginLR = 0; // millimetres from the right (directionLR 0) or the left (1) edge
    int marginTB = 0; // millimetres from the bottom (directionTB 0) or the top (1) edge
    int directionLR = 0;
    int directionTB = 0;
    PageList pages;
    bool embed = false;
    QString password;
    QString renderPng;
    int jobs = 1;
    bool progress = false; // also when standard error is not a terminal
};
