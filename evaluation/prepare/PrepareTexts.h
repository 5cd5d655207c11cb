#pragma once

// The preparation window's texts (UTF-8).
namespace evaluation::preparetexts {

inline constexpr char kTitle[] = "Wettbewerb vorbereiten";

// 1. Entries
inline constexpr char kEntriesHeading[] = "1. Bilder der Teilnehmer";
inline constexpr char kChooseEntries[] = "Ordner wählen …";
inline constexpr char kChooseEntriesTitle[] = "Ordner mit den eingesandten Bildern";
inline constexpr char kEntriesFolder[] = "Ordner: %1";
inline constexpr char kNoEntriesFolder[] =
    "Noch kein Ordner gewählt. Unterordner werden mitgelesen (ein Ordner je Teilnehmer).";
inline constexpr char kEntriesCount[] = "%1 Bilder, %2 aufgenommen";
inline constexpr char kEntriesTable[] = "Eingesandte Bilder";
inline constexpr char kSplitDash[] = "„Autor - Titel“ aus dem Dateinamen";
inline constexpr char kSplitUnderscore[] = "„Titel_Autor“ aus dem Dateinamen";
inline constexpr char kColumnIncluded[] = "Aufnehmen";
inline constexpr char kColumnPicture[] = "Bild";
inline constexpr char kColumnFile[] = "Datei";
inline constexpr char kColumnTitle[] = "Titel";
inline constexpr char kColumnAuthor[] = "Autor";
inline constexpr char kColumnNote[] = "Hinweis";
inline constexpr char kUnreadable[] = "nicht lesbar";
inline constexpr char kNotJpeg[] = "kein JPEG-Bild";
inline constexpr char kDamaged[] = "beschädigt – wird nicht aufgenommen";
inline constexpr char kChecking[] = "wird geprüft …";

// 2. Criteria
inline constexpr char kCriteriaHeading[] = "2. Kriterien";
inline constexpr char kCriteriaFrom[] = "Aus %1";
inline constexpr char kWeight[] = "Höchstpunkte %1";
inline constexpr char kDescription[] = "Beschreibung %1";
inline constexpr char kFits[] = "passt";
inline constexpr char kTooLong[] = "zu lang";
inline constexpr char kHidden[] = "ausgeblendet";
inline constexpr char kGroupSum[] = "%1: %2 Punkte";
inline constexpr char kTotalSum[] = "Zusammen: %1 Punkte";

// 3. Target
inline constexpr char kTargetHeading[] = "3. Ziel";
inline constexpr char kName[] = "Name des Wettbewerbs";
inline constexpr char kPlace[] = "Anlegen in";
inline constexpr char kChoosePlace[] = "Ort wählen …";
inline constexpr char kChoosePlaceTitle[] = "Wo der Wettbewerbsordner angelegt wird";
inline constexpr char kAnonymous[] = "Anonym bewerten";
inline constexpr char kTargetNote[] = "Ordner: %1\nTeilnehmerliste daneben: %2";
inline constexpr char kCreate[] = "Wettbewerb anlegen";
inline constexpr char kCancel[] = "Abbrechen";
inline constexpr char kProgress[] = "%p % kopiert";
inline constexpr char kProgressName[] = "Bilder kopieren";
inline constexpr char kOpenFolder[] = "Ordner öffnen";
inline constexpr char kClose[] = "Schließen";
inline constexpr char kPrepare[] = "Wettbewerb vorbereiten …";

// Messages
inline constexpr char kNoName[] = "Bitte dem Wettbewerb einen Namen geben.";
inline constexpr char kBadName[] =
    "„%1“ kann nicht Name eines Ordners sein. Bitte einen Namen ohne / \\ : * ? \" < > | wählen.";
inline constexpr char kNoPlace[] = "Bitte wählen, wo der Wettbewerb angelegt wird.";
inline constexpr char kNoEntries[] = "Es ist kein Bild aufgenommen.";
inline constexpr char kStillChecking[] =
    "Die Bilder werden noch geprüft. Bitte warten, bis bei keinem mehr „wird geprüft“ steht.";
inline constexpr char kBadFiles[] =
    "Diese Dateien sind keine lesbaren JPEG-Bilder:\n%1\n\nOhne sie weitermachen?";
inline constexpr char kSameTitles[] =
    "Diese Bilder bekämen denselben Dateinamen, weil ihre Titel gleich sind:\n%1\n\n"
    "Bitte die Titel unterscheiden oder anonym bewerten.";
inline constexpr char kUnwritable[] =
    "Die Beschreibung von %1 enthält ein Zeichen, das das Bewertungsprogramm nicht kennt, "
    "oder einen Zeilenumbruch. Bitte ändern.";
inline constexpr char kTooLongCaptions[] =
    "Diese Beschreibungen passen nicht ganz in die Zeile des Bewertungsprogramms und werden "
    "abgeschnitten: %1\n\nTrotzdem anlegen?";
inline constexpr char kNoTemplate[] =
    "Die Vorlage „%1“ fehlt. Bitte das Programm neu installieren.";
inline constexpr char kFolderNotEmpty[] =
    "„%1“ gibt es schon und ist nicht leer. Bitte einen anderen Namen oder Ort wählen.";
inline constexpr char kFileExists[] =
    "„%1“ gibt es schon. Bitte einen anderen Namen oder Ort wählen.";
inline constexpr char kSourceChanged[] =
    "„%1“ hat sich während des Kopierens geändert. Es wurde nichts angelegt; bitte noch "
    "einmal anlegen, wenn die Datei fertig ist.";
inline constexpr char kSourceRefused[] =
    "„%1“ ist kein sauber aufgebautes JPEG-Bild und kann nicht ohne seine Metadaten kopiert "
    "werden. Es wurde nichts angelegt; bitte das Bild weglassen.";
inline constexpr char kSourceUnreadable[] =
    "„%1“ kann nicht gelesen werden. Es wurde nichts angelegt.";
inline constexpr char kDiskFull[] = "Auf dem Ziel ist nicht genug Platz. Es wurde nichts angelegt.";
inline constexpr char kReadOnly[] =
    "Auf das Ziel kann nicht geschrieben werden (schreibgeschützt oder keine Berechtigung). "
    "Es wurde nichts angelegt.";
inline constexpr char kWriteFailed[] =
    "„%1“ kann nicht geschrieben werden. Es wurde nichts angelegt.";
// On the terminal
inline constexpr char kCriteriaFromTerminal[] = "Die Kriterien stammen aus „%1“.";
inline constexpr char kNoEntriesFolderGiven[] = "„%1“ ist kein Ordner mit eingesandten Bildern.";
inline constexpr char kSameTitlesTerminal[] =
    "Diese Bilder bekämen denselben Dateinamen, weil ihre Titel gleich sind:\n%1\n\n"
    "Bitte die Titel unterscheiden oder ohne --mit-namen anonym anlegen.";
inline constexpr char kTooLongOnTerminal[] =
    "Hinweis: Diese Beschreibungen passen nicht ganz in die Zeile des Bewertungsprogramms und "
    "werden abgeschnitten: %1";
inline constexpr char kCancelled[] = "Abgebrochen: es wurde nichts angelegt.";
inline constexpr char kDone[] =
    "Der Wettbewerb ist angelegt: %1 Bilder in „%2“, die Teilnehmerliste daneben in „%3“.\n\n"
    "Für die Bewerter den Ordner „%4“ (ohne die Teilnehmerliste) auf ihre PCs oder einen "
    "USB-Stick kopieren; dort öffnet ihn „Bildbewertung“.";

} // namespace evaluation::preparetexts
