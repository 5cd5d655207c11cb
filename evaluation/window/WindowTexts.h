#pragma once

// The window's own texts (UTF-8); the table's headings are the outputs'.
namespace evaluation::windowtexts {

inline constexpr char kTitle[] = "Rangliste – %1";
inline constexpr char kReadingScores[] = "Bewertungen lesen …";
inline constexpr char kProgress[] = "Bild %v von %m";
inline constexpr char kProgressName[] = "Bilder lesen";
inline constexpr char kCancel[] = "Abbrechen";
inline constexpr char kCancelled[] = "Abgebrochen: keine Dateien geschrieben.";
inline constexpr char kWritten[] = "Geschrieben in %1: %2";
inline constexpr char kOpenPdf[] = "PDF öffnen";
inline constexpr char kOpenPage[] = "Webseite öffnen";
inline constexpr char kOpenTable[] = "Tabelle öffnen";
inline constexpr char kOpenFolder[] = "Ordner öffnen";
inline constexpr char kRankingName[] = "Rangliste";

} // namespace evaluation::windowtexts
