#pragma once
// Turns a SealDesign into a picture: the seal maker library (loaded at run time from the
// program's folder, so that a missing library is a message rather than a program that does
// not start) writes the seal document, and the reader's own OFD reader and page drawing
// paint it. They paint onto a transparent picture: the engine's page rendering would give
// the seal a white paper, which a stamp must not have.

#include <QImage>
#include <QLibrary>
#include <QString>
#include <QTemporaryDir>

struct SealDesign;

namespace SMK
{
class ISealMaker;
}

class SealRenderer
{
public:
    SealRenderer();
    SealRenderer(const SealRenderer&) = delete;
    SealRenderer& operator=(const SealRenderer&) = delete;

    // Where the library is looked for: beside this program.
    static QString LibraryPath();
    // False, with LoadError() saying why, when the library is missing or not a seal maker.
    bool IsLoaded() const { return m_create && m_destroy; }
    QString LoadError() const { return m_loadError; }

    // The seal at `dotsPerInch`, on a transparent background; a null image and a message
    // when the design is not valid or the library fails.
    QImage Render(const SealDesign& design, double dotsPerInch, QString* error);

private:
    bool WriteStar(const QColor& colour, const QString& path) const;

    using CreateFn = SMK::ISealMaker* (*)();
    using DestroyFn = void (*)(SMK::ISealMaker*);

    QLibrary m_library;
    CreateFn m_create = nullptr;
    DestroyFn m_destroy = nullptr;
    QString m_loadError;
    QTemporaryDir m_work; // the seal document and the star picture, rewritten per render
};
