#pragma once

#include "evaluation/ranking/Report.h"

#include <QByteArray>

#include <string>

namespace evaluation {

struct CertificateHeading {
    std::string club;        // typed once by the organiser; may be ""
    std::string competition; // the folder's readable name
    std::string date;        // "07.12.2025"
};

// One A4 page per placed picture up to place `places` (pictures sharing a
// place each get a page): the club, "Urkunde", the competition and the
// date, the place in words, the picture from its original file (upright, its
// own aspect ratio, at 300 dpi of its printed size, at most the file's own
// pixels), title, author and a line for a signature. Empty when no picture
// has a place up to `places`. Needs a QGuiApplication.
QByteArray certificatesPdf(const Report& report, const std::vector<std::string>& pictures,
                           const std::string& folder, const CertificateHeading& heading,
                           int places);

struct CertificatesWritten {
    std::string path; // "<folder name> Urkunden.pdf" beside the folder
    std::size_t pages = 0;
    std::string failure; // the message when nothing was written
};

// Reads the folder as the ranking does and writes its certificates beside it.
CertificatesWritten writeCertificates(const std::string& folder, const std::string& club,
                                      int places);

// The club's name for the certificates, typed once in the window and kept
// in the user's config folder (bildbewertung/auswertung.conf); "" until then.
std::string clubName();
void rememberClubName(const std::string& name);

} // namespace evaluation
