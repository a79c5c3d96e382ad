#pragma once
// The options every benchmark takes: --pages N, --rounds N, --work DIR, --samples DIR, in
// pairs after the program's name; what is not given keeps the default.

#include <QDir>
#include <QStringList>
#include <algorithm>

struct BenchOptions {
    int pages = 1000;
    int rounds = 7;
    QString work;
    QString samples = QStringLiteral(SAMPLES_DIR);

    // `name` names the default work folder, inside the system's temporary folder.
    static BenchOptions Read(const QStringList& args, const QString& name, BenchOptions options)
    {
        options.work = QDir::temp().filePath(name);
        for (int i = 0; i + 1 < args.size(); i += 2) {
            const QString& value = args.at(i + 1);
            if (args.at(i) == QLatin1String("--pages"))
                options.pages = value.toInt();
            else if (args.at(i) == QLatin1String("--work"))
                options.work = value;
            else if (args.at(i) == QLatin1String("--samples"))
                options.samples = value;
            else if (args.at(i) == QLatin1String("--rounds"))
                options.rounds = std::max(1, value.toInt());
        }
        QDir().mkpath(options.work);
        return options;
    }
};
