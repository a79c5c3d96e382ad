#pragma once
// The headless demonstration: opens a sample contract, places the sample seal on its first
// page through the plug-in's "tp_stamp" (when a plug-in registered it) and saves the
// result into a folder. Message boxes are answered with OK and printed. A protected
// contract opens with the password given on the command line (--password).

#include <QString>

class QTextStream;

class DemoRun
{
public:
    // Returns the process exit code: 0 also when a piece is missing (a note says which),
    // 1 when saving the result failed.
    // `password` opens a protected contract (empty for none); 1 when it is missing or wrong.
    static int Run(const QString& outDir, const QString& samplesDir, QTextStream& out,
                   const QString& password = QString());
};
