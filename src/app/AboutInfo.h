#pragma once

#include <QString>
#include <QStringList>

namespace Tarvel {

class AppContext;

// What the About window tells about the program, the platform and the
// catalogue. The diagnostics file repeats the same captions.
class AboutInfo
{
public:
    // "Version " + major.minor.revision of this build.
    static QString versionCaption();
    static QString legalNotice();
    // The operating system's pretty name and the processor architecture,
    // e.g. "Debian GNU/Linux 12 (bookworm), x86_64".
    static QString platformText();

    // The catalogue's drive list ("Model QX205 rev. 120 - 2007-05-21") and
    // version line ("dB Version: 1.30, 2009-02-10."). Raises the catalogue's
    // errors; the caller's trap names the window.
    struct CatalogueInfo
    {
        QStringList drives;
        QString dbVersion;
    };
    static CatalogueInfo readCatalogue(AppContext &ctx);
};

} // namespace Tarvel
