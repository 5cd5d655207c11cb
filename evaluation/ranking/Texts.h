#pragma once

#include <string>
#include <vector>

// The evaluation's own texts (UTF-8), German like the judging program's.
namespace evaluation::texts {

inline constexpr char kProgram[] = "bildbewertung-auswertung";
// The outputs, "<Ordner> Rangliste.csv" beside the folder (never in it: the judges see it).
inline constexpr char kCsvFile[] = "Rangliste.csv";
inline constexpr char kPdfFile[] = "Rangliste.pdf";
inline constexpr char kHtmlFile[] = "Rangliste.html";
// `place`: the folder written in; `files`: their names, "a, b, c".
inline std::string written(const std::string& place, const std::string& files)
{
    return "Geschrieben in " + place + ": " + files;
}
inline std::string noPlaceBeside(const std::string& folder)
{
    return "Neben dem Ordner '" + folder +
           "' kann die Rangliste nicht geschrieben werden (oberster Ordner eines Laufwerks oder "
           "einer Freigabe, oder keine Schreibrechte).";
}
inline std::string placeInsideFolder(const std::string& place)
{
    return "Die Rangliste gehört nicht in den Wettbewerbsordner, die Bewerter sehen ihn: '" +
           place + "' liegt darin.";
}
inline std::string cannotWriteIn(const std::string& place)
{
    return "In den Ordner '" + place + "' kann nicht geschrieben werden!";
}
inline constexpr char kUseOutputFlag[] =
    "Bitte mit --ausgabe ORDNER einen Ort außerhalb des Wettbewerbsordners angeben.";

inline constexpr char kNotRated[] = "nicht bewertet";
inline constexpr char kAllZero[] = "alle Kriterien 0";
inline constexpr char kDisagree[] = "Bewerter uneinig";
inline constexpr char kLineLeftOut[] = " – Zeile nicht gewertet";
inline constexpr char kCountsAsNotRated[] = " – zählt als nicht bewertet";

inline constexpr char kNoJudgeFiles[] = "Keine Bewertungsdateien (*.qel) im Ordner!";
inline constexpr char kNoJudgeReadable[] = "Keine der Bewertungsdateien ist lesbar!";

// The command line's help.
inline constexpr char kDescription[] =
    "Liest Qel.max, die Bilder (*.jpg, *.jpeg) und alle Bewertungsdateien (*.qel)\n"
    "des Ordners (ohne Angabe: der aktuelle Ordner), bildet die Rangliste aller\n"
    "Bewerter und schreibt sie als „<Ordner> Rangliste.csv“, „.pdf“ und „.html“\n"
    "neben den Ordner, nie hinein (die Bewerter sehen ihn). Die Tabelle erscheint\n"
    "außerdem hier im Terminal.\n";
inline constexpr char kWindowFlag[] = "--window";
inline constexpr char kWindowFlagExplanation[] =
    "die Rangliste in einem Fenster zeigen, das dem Ordner folgt\n"
    "             (ohne ORDNER: die Frage nach dem Ordner)";
inline constexpr char kPrepareFlag[] = "--vorbereiten";
inline constexpr char kPrepareFlagExplanation[] =
    "einen Wettbewerb vorbereiten: die Bilder der Teilnehmer (ORDNER),\n"
    "             die Kriterien und der neue Wettbewerbsordner mit Teilnehmerliste";
inline constexpr char kFinalFlag[] = "--endgueltig";
inline constexpr char kFinalFlagExplanation[] =
    "die Rangliste für endgültig erklären: „Endgültige Rangliste“ mit Datum,\n"
    "             die Bilder ohne alle Bewertungen einzeln genannt; festgehalten in\n"
    "             „<Ordner> Entscheidungen.txt“, bis sich eine Bewertung ändert";
inline constexpr char kOutputFlag[] = "--ausgabe";
inline constexpr char kOutputFlagValue[] = "ORDNER";
inline constexpr char kOutputFlagExplanation[] =
    "die Dateien in diesen Ordner schreiben statt neben den\n"
    "             Wettbewerbsordner (wenn daneben nicht geschrieben werden kann);\n"
    "             mit --jahreswertung: dorthin statt in den aktuellen Ordner";
inline constexpr char kCreateFlag[] = "--anlegen";
inline constexpr char kCreateFlagValue[] = "ZIEL";
inline constexpr char kCreateFlagExplanation[] =
    "mit --vorbereiten: ohne Fenster den Wettbewerbsordner ZIEL anlegen\n"
    "             (anonym, die Teilnehmerliste daneben); ORDNER sind die\n"
    "             eingesandten Bilder, ein Unterordner je Teilnehmer";
inline constexpr char kWithNamesFlag[] = "--mit-namen";
inline constexpr char kWithNamesFlagExplanation[] =
    "mit --anlegen: die Bilder unter ihren Titeln kopieren, unverändert";
inline constexpr char kCreateNeedsPrepare[] = "„--anlegen“ gilt nur mit „--vorbereiten“.";
inline constexpr char kCreateNeedsEntries[] =
    "„--vorbereiten --anlegen ZIEL“ braucht den Ordner mit den eingesandten Bildern.";
inline constexpr char kWithNamesNeedsCreate[] = "„--mit-namen“ gilt nur mit „--anlegen“.";
inline constexpr char kExitCodes[] =
    "Rückgabewert: 0 fertig, 1 Eingabeproblem, 2 falscher Aufruf.\n";

// Headings of the outputs.
inline constexpr char kRank[] = "Platz";
inline constexpr char kPicture[] = "Bild";
inline constexpr char kSum[] = "Summe";
inline constexpr char kMean[] = "Mittelwert";
inline constexpr char kSpread[] = "Spanne";
inline constexpr char kWirkung[] = "Wirkung";
inline constexpr char kTechnik[] = "Technik";
inline constexpr char kGestaltung[] = "Gestaltung";
inline constexpr char kHint[] = "Hinweis";
inline constexpr char kJudge[] = "Bewerter";
inline constexpr char kRatedPictures[] = "Bilder";
inline constexpr char kAverage[] = "Durchschnitt";
inline constexpr char kDeviation[] = "Abweichung";
inline constexpr char kMeanShort[] = "Mittel";
// The CSV's group figures: means over the judges who rated the picture.
inline constexpr char kWirkungMean[] = "Wirkung (Mittel)";
inline constexpr char kTechnikMean[] = "Technik (Mittel)";
inline constexpr char kGestaltungMean[] = "Gestaltung (Mittel)";
// A visible criterion's mean, headed by its caption: "Bildidee (Mittel)".
inline std::string criterionMean(const std::string& caption)
{
    return caption + " (Mittel)";
}
inline constexpr char kNoScore[] = "–"; // a judge who did not rate the picture
inline constexpr char kTitle[] = "Rangliste – ";
inline constexpr char kPage[] = "Seite ";
inline std::string subtitle(const std::string& date, std::size_t pictures, std::size_t judges,
                            int maxTotal)
{
    return date + " · " + std::to_string(pictures) + " Bilder · " + std::to_string(judges) +
           " Bewerter · höchstens " + std::to_string(maxTotal) + " Punkte je Bewerter";
}
inline constexpr char kJudgesHeading[] = "Durchschnitt je Bewerter";
inline constexpr char kProblemsHeading[] = "Hinweise für die Auswertung";
inline constexpr char kTitleHeading[] = "Titel";
inline constexpr char kRankingCaption[] = "Rangliste";
inline constexpr char kNoPicture[] = "kein Bild"; // a picture that cannot be read

// How places are decided, for everyone; the details follow for the organiser.
inline constexpr char kRankingRule[] =
    "Platz nach dem Mittelwert der Bewerter, die das Bild bewertet haben; gleicher "
    "Mittelwert, gleicher Platz. Innerhalb eines Platzes entscheidet der Mittelwert "
    "„Gestaltung“, dann „Wirkung“, dann die Reihenfolge der Dateinamen. Ein Bild, das "
    "niemand bewertet hat, erhält keinen Platz.";
inline constexpr char kRankingDetails[] =
    "Eine Zeile mit lauter Nullen zählt als nicht bewertet. „Bewerter uneinig“: die Punkte "
    "der Bewerter liegen um mehr als ein Viertel der Höchstpunktzahl auseinander.";

// The ranking is provisional while something is missing.
inline constexpr char kProvisional[] = "Vorläufige Rangliste – es fehlt noch:";
// The public page's note names no judge.
// Declared final, and what changed since when it no longer holds.
inline std::string finalHeading(const std::string& date)
{
    return "Endgültige Rangliste vom " + date;
}
inline std::string declaredFinal(const std::string& file)
{
    return "Für endgültig erklärt, festgehalten in '" + file + "'.";
}
inline constexpr char kPicturePrefix[] = "Bild ";
inline constexpr char kExcluded[] = "ausgeschlossen";
inline std::string excludedLine(const std::string& picture, const std::string& reason)
{
    return kPicturePrefix + picture + ": " + kExcluded + (reason.empty() ? "" : " – " + reason);
}
inline std::string changedSinceFinal(const std::string& date, const std::string& what)
{
    return "Seit der endgültigen Rangliste vom " + date + " " + what + " – wieder vorläufig";
}
inline std::string newSheet(const std::string& file)
{
    return "kam die Bewertungsdatei '" + file + "' hinzu";
}
inline std::string changedSheet(const std::string& file)
{
    return "wurde die Bewertungsdatei '" + file + "' geändert";
}
inline std::string goneSheet(const std::string& file)
{
    return "fehlt die Bewertungsdatei '" + file + "'";
}
inline constexpr char kPicturesChanged[] = "wurden Bilder oder Qel.max geändert";
inline std::string unreadableDecisions(const std::string& file)
{
    return "Die Entscheidungen '" + file +
           "' können nicht gelesen werden – kein Bild ausgeschlossen, nichts endgültig.";
}
inline constexpr char kProvisionalPublic[] =
    "Vorläufige Rangliste – noch nicht alle Bewertungen liegen vor";
inline std::string linesLeftOut(std::size_t count)
{
    return std::to_string(count) + (count == 1 ? " Hinweis" : " Hinweise") +
           " auf der letzten Seite („Hinweise für die Auswertung“)";
}
inline std::string judgeShort(const std::string& judge, int rated, std::size_t pictures)
{
    return "Bewerter '" + judge + "' hat " + std::to_string(rated) + " von " +
           std::to_string(pictures) + " Bildern bewertet";
}
inline std::string moreMissing(std::size_t count)
{
    return "… und " + std::to_string(count) + " weitere (siehe „Hinweise für die Auswertung“)";
}
inline std::string moreOnThePage(std::size_t count)
{
    return "… und " + std::to_string(count) + " weitere";
}
inline std::string pictureShort(const std::string& picture, int rated, std::size_t judges)
{
    return picture + ": " +
           (rated == 0 ? std::string(kNotRated)
                       : std::to_string(rated) + " von " + std::to_string(judges) + " Bewertern");
}

// Problems; names are already readable text. `picture`: the one the line
// names, "" when it names none.
inline std::string judgeLine(const std::string& judge, std::size_t line,
                             const std::string& picture = {})
{
    return judge + ", Zeile " + std::to_string(line) +
           (picture.empty() ? "" : " (Bild '" + picture + "')") + ": ";
}
inline constexpr char kEntrantFile[] = "Datei"; // the entrant list's columns, with "Titel"
inline constexpr char kEntrantAuthor[] = "Autor";
inline std::string entrantLine(const std::string& list, std::size_t line)
{
    return "Teilnehmerliste '" + list + "', Zeile " + std::to_string(line) + ": ";
}
inline std::string unreadableEntrantList(const std::string& list)
{
    return "Die Teilnehmerliste '" + list +
           "' kann nicht gelesen werden – die Bilder heißen wie ihre Dateien.";
}
inline std::string noFileColumn(const std::string& list)
{
    return "Die Teilnehmerliste '" + list +
           "' hat keine Spalte „Datei“ – die Bilder heißen wie ihre Dateien.";
}
inline std::string notADigit(const std::string& character)
{
    return "das Zeichen '" + character + "' ist keine Ziffer";
}
inline std::string noSuchPicture(const std::string& picture)
{
    return "kein Bild '" + picture + "' im Ordner";
}
inline std::string namesSeveral(const std::string& name, const std::vector<std::string>& pictures)
{
    std::string list;
    for (const std::string& picture : pictures)
        list += (list.empty() ? "'" : ", '") + picture + "'";
    return "'" + name + "' passt zu mehreren Bildern (" + list + ")";
}
inline constexpr char kNoFileName[] = "kein Dateiname";
inline std::string alreadyRated(const std::string& picture, std::size_t firstLine)
{
    return "'" + picture + "' steht schon in Zeile " + std::to_string(firstLine);
}
inline std::string missingLine(const std::string& judge, const std::string& picture)
{
    return judge + ": keine Zeile für '" + picture + "' – " + kNotRated;
}
inline std::string namelessJudgeFile(const std::string& file)
{
    return "Bewertungsdatei ohne Namen: '" + file + "' – nicht gewertet";
}
inline std::string pointsOutside(const std::string& file)
{
    return "'" + file + "' verweist auf eine Datei außerhalb des Ordners – nicht gelesen";
}
inline std::string unreadableJudgeFile(const std::string& file)
{
    return "Die Bewertungsdatei '" + file + "' kann nicht gelesen werden!";
}
inline std::string missingFolder(const std::string& folder)
{
    return "Den Ordner '" + folder + "' gibt es nicht!";
}
inline std::string cannotWrite(const std::string& file)
{
    return "Die Datei '" + file + "' kann nicht geschrieben werden!";
}
inline std::string cacheRefused(const std::string& folder)
{
    return "Vorschaubilder werden diesmal nicht zwischengespeichert: '" + folder +
           "' ist kein eigener, nur für Sie beschreibbarer Ordner.";
}
inline std::string readingPictures(std::size_t done, std::size_t total)
{
    return "Bilder lesen: " + std::to_string(done) + "/" + std::to_string(total);
}
inline std::string openElsewhere(const std::string& file)
{
    return file + " ist in einem anderen Programm geöffnet – bitte dort schließen und erneut "
                  "versuchen.";
}
inline std::string keptAsItWas(const std::string& file)
{
    return "Die Datei '" + file + "' bleibt, wie sie war.";
}

} // namespace evaluation::texts
