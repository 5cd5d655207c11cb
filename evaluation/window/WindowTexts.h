#pragma once

// The window's own texts (UTF-8); the table's headings are the outputs'.
namespace evaluation::windowtexts {

inline constexpr char kTitle[] = "Rangliste – %1";
inline constexpr char kReadingScores[] = "Bewertungen lesen …";
inline constexpr char kProgress[] = "Bild %v von %m";
inline constexpr char kProgressName[] = "Bilder lesen";
inline constexpr char kCancel[] = "Abbrechen";
inline constexpr char kCancelled[] = "Abgebrochen: keine Dateien geschrieben.";
inline constexpr char kTryAgain[] = "Erneut versuchen";
inline constexpr char kWritten[] = "Geschrieben in %1: %2";
inline constexpr char kOpenPdf[] = "PDF öffnen";
inline constexpr char kOpenPage[] = "Webseite öffnen";
inline constexpr char kOpenTable[] = "Tabelle öffnen";
inline constexpr char kOpenFolder[] = "Ordner öffnen";
// When the desktop has no program for a kind of file: %1 the kind, %2 the folder.
inline constexpr char kNoProgramForFile[] =
    "Kein Programm zum Öffnen von %1 gefunden – die Datei liegt in %2";
inline constexpr char kNoProgramForFolder[] =
    "Kein Programm zum Öffnen von %1 gefunden – der Ordner ist %2";
inline constexpr char kPdfFiles[] = "PDF-Dateien";
inline constexpr char kPages[] = "Webseiten";
inline constexpr char kTables[] = "Tabellen (CSV)";
inline constexpr char kFolders[] = "Ordnern";
inline constexpr char kFolderBack[] = "Der Ordner ist wieder da: die Rangliste folgt ihm wieder.";
inline constexpr char kRankingName[] = "Rangliste";
// The organiser's decisions.
inline constexpr char kExclude[] = "Ausschließen";
inline constexpr char kTakeIn[] = "Wieder aufnehmen";
inline constexpr char kDeclareFinal[] = "Endgültig ausgeben";
inline constexpr char kExcludeQuestion[] = "Warum wird „%1“ aus der Rangliste genommen?";
inline constexpr const char* kReasons[] = {"beschädigt", "zurückgezogen"};
// The folder chooser's caption where beside the folder cannot be written.
inline constexpr char kChoosePlace[] = "Ort für die Rangliste wählen (nicht im Wettbewerbsordner)";

} // namespace evaluation::windowtexts
