#pragma once

#include <string>
#include <vector>

// The texts of the authors' ranking, the certificates and the season (UTF-8).
namespace evaluation::seasontexts {

inline constexpr char kAuthorsHeading[] = "Autorenwertung";
inline constexpr char kAuthor[] = "Autor";
inline constexpr char kPictures[] = "Bilder";
// The sum of the means; "Summe" alone stays the organiser's sum over the judges.
inline constexpr char kSumOfMeans[] = "Punkte";
inline constexpr char kBestPicture[] = "Bestes Bild";
inline constexpr char kAuthorsRule[] =
    "Die Punkte eines Autors sind die Mittelwerte seiner Bilder zusammengezählt; bei gleichen "
    "Punkten entscheidet das beste Bild, sonst gleicher Platz.";
inline std::string ownPicturesNote(const std::vector<std::string>& authors)
{
    std::string list;
    for (const std::string& author : authors)
        list += (list.empty() ? "" : ", ") + author;
    return list.empty() ? list : "eigene Bilder nicht gewertet: " + list;
}
// The public page names no judge.
inline constexpr char kOwnPicturesPublic[] =
    "eigene Bilder nicht gewertet: Bewerter, die selbst Bilder eingereicht haben, "
    "zählen bei diesen nicht mit.";

// Certificates.
inline constexpr char kCertificatesFlag[] = "--urkunden";
inline constexpr char kCertificatesFlagExplanation[] =
    "Urkunden für die ersten Plätze als PDF neben den ORDNER schreiben";
inline constexpr char kPlacesFlag[] = "--plaetze";
inline constexpr char kPlacesFlagExplanation[] =
    "mit --urkunden: Urkunden bis zu diesem Platz (ohne Angabe: 3)";
inline constexpr char kCertificatesFile[] = "Urkunden.pdf";
inline constexpr char kCertificate[] = "Urkunde";
inline std::string placeInWords(int place)
{
    return std::to_string(place) + ". Platz";
}
inline constexpr char kSignature[] = "Unterschrift";
inline constexpr char kMeanPoints[] = "Mittelwert: ";
inline std::string certificatesWritten(const std::string& file, std::size_t pages)
{
    return file + " geschrieben (" + std::to_string(pages) +
           (pages == 1 ? " Urkunde)." : " Urkunden).");
}
inline constexpr char kNoPlaces[] = "Kein Bild hat einen Platz – keine Urkunden geschrieben.";
inline std::string badPlaces(const std::string& value)
{
    return "--plaetze erwartet eine Zahl ab 1, nicht '" + value + "'";
}

// The season.
inline constexpr char kSeasonFlag[] = "--jahreswertung";
inline constexpr char kSeasonFlagExplanation[] =
    "die Jahreswertung aus den Wettbewerbsordnern ORDNER… (in dieser\n"
    "             Reihenfolge) als Jahreswertung.csv, .pdf und .html schreiben";
inline constexpr char kRuleFlag[] = "--regel";
inline constexpr char kRuleFlagExplanation[] =
    "mit --jahreswertung: summe (ohne Angabe: die Mittelwerte aller Bilder),\n"
    "             beste:N (die N besten Mittelwerte) oder plaetze:10,8,6[+T]\n"
    "             (Punkte je Platz in der Autorenwertung, T je Teilnahme)";
inline constexpr char kSeveralFolders[] = "mehrere Ordner nur mit --jahreswertung";
inline std::string badRule(const std::string& rule)
{
    return "unbekannte Regel '" + rule + "' (summe, beste:N oder plaetze:10,8,6[+T])";
}
inline constexpr char kSeasonTitle[] = "Jahreswertung";
inline constexpr char kSeasonCsv[] = "Jahreswertung.csv";
inline constexpr char kSeasonPdf[] = "Jahreswertung.pdf";
inline constexpr char kSeasonHtml[] = "Jahreswertung.html";
inline constexpr char kTotal[] = "Gesamt";
inline constexpr char kSeasonWritten[] =
    "Jahreswertung.csv, Jahreswertung.pdf und Jahreswertung.html geschrieben.";
inline constexpr char kRuleSum[] = "Summe der Mittelwerte aller Bilder";
inline std::string ruleBest(int count)
{
    return count == 1 ? std::string("Der beste Mittelwert")
                      : "Summe der " + std::to_string(count) + " besten Mittelwerte";
}
inline std::string rulePlaces(const std::string& points, int perCompetition)
{
    return "Punkte je Platz in der Autorenwertung eines Wettbewerbs (" + points + ")" +
           (perCompetition ? " und " + std::to_string(perCompetition) + " je Teilnahme" : "");
}
inline constexpr char kSeasonTies[] = "Gleiche Punktzahl, gleicher Platz.";
inline std::string noEntrantList(const std::string& folder)
{
    return "'" + folder + "': keine Teilnehmerliste – nicht in der Jahreswertung";
}
inline std::string stillProvisional(const std::string& folder)
{
    return "'" + folder + "': Rangliste noch vorläufig – nicht in der Jahreswertung";
}
inline std::string cannotEvaluate(const std::string& folder, const std::string& why)
{
    return "'" + folder + "': " + why + " – nicht in der Jahreswertung";
}
inline constexpr char kNoCompetition[] = "Kein Wettbewerb kann in die Jahreswertung eingehen!";

// The windows.
inline constexpr char kCertificatesButton[] = "Urkunden";
inline constexpr char kClub[] = "Verein";
inline constexpr char kClubPlaceholder[] = "Name des Vereins (für die Urkunden)";
inline constexpr char kUpToPlace[] = "bis Platz";
inline constexpr char kSeasonButton[] = "Jahreswertung …";
inline constexpr char kSeasonWindowTitle[] = "Jahreswertung";
inline constexpr char kCompetitions[] = "Wettbewerbe der Saison (in dieser Reihenfolge)";
inline constexpr char kAddCompetition[] = "Wettbewerb hinzufügen …";
inline constexpr char kRemoveCompetition[] = "Entfernen";
inline constexpr char kRule[] = "Regel";
inline constexpr char kRuleHint[] = "summe, beste:N oder plaetze:10,8,6[+T]";
inline constexpr char kOutputFolder[] = "Ausgabeordner";
inline constexpr char kChooseOutput[] = "Wählen …";
inline constexpr char kWriteSeason[] = "Jahreswertung schreiben";
inline constexpr char kResult[] = "Ergebnis";

} // namespace evaluation::seasontexts
