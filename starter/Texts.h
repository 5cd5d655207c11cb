#pragma once

#include <string>

// The starter's own texts (UTF-8), as the user sees them.
namespace startertexts {

inline constexpr char kProgram[] = "bildbewertung-starten";
inline constexpr char kWarningCaption[] = "Warnung";

// The help between the call and the options; templateFolder: where the
// package puts Qel.max and InfoQuintavo.pdf.
inline std::string description(const std::string& templateFolder)
{
    return "Startet die Bildbewertung im Wettbewerbsordner ORDNER, als hätte man\n"
           "„cd ORDNER; bildbewertung“ eingegeben. Ohne ORDNER fragt ein Auswahlfenster\n"
           "nach dem Ordner.\n"
           "\n"
           "In den Ordner gehören die Bilder (*.jpg), die Gewichtungsdatei Qel.max und\n"
           "die Anleitung InfoQuintavo.pdf; dort speichert das Programm jede Bewertung\n"
           "als <Name>.qel. Vorlagen für Qel.max und InfoQuintavo.pdf liegen in\n" +
           templateFolder + "\n";
}

inline constexpr char kExitCodes[] =
    "Rückgabewert: der des Bewertungsprogramms; 1, wenn es den Ordner nicht gibt,\n"
    "er kein Ordner ist oder das Programm nicht startet; 2 bei einem falschen\n"
    "Aufruf.\n";

// folder: the name as given, made readable.
inline std::string folderMissing(const std::string& folder)
{
    return "Den Ordner „" + folder + "“ gibt es nicht.";
}

inline std::string notAFolder(const std::string& folder)
{
    return "„" + folder + "“ ist kein Ordner.";
}

inline std::string folderNotOpened(const std::string& folder)
{
    return "Der Ordner „" + folder + "“ kann nicht geöffnet werden.";
}

inline std::string folderTooDeep(const std::string& folder)
{
    return "Der Ordner „" + folder +
           "“ liegt zu tief: Sein Pfad ist länger, als Windows hier erlaubt (260 Zeichen). "
           "Bitte den Ordner weiter oben ablegen, zum Beispiel unter C:\\Wettbewerbe, und dort "
           "öffnen.";
}

inline std::string programNotStarted(const std::string& program)
{
    return "Das Bewertungsprogramm „" + program + "“ kann nicht gestartet werden.";
}

inline constexpr char kExampleFlag[] = "--beispiel";
inline constexpr char kExampleExplanation[] =
    "den Beispielordner „Bildbewertung Beispiel“ in den Dokumenten öffnen; beim ersten Mal "
    "wird er dorthin kopiert";

inline std::string exampleMissing(const std::string& demo)
{
    return "Der Beispielordner „" + demo + "“ fehlt – bitte das Programm neu installieren.";
}

inline std::string exampleNotCopied(const std::string& target)
{
    return "Der Beispielordner kann nicht nach „" + target +
           "“ kopiert werden (kein Platz oder keine Berechtigung).";
}

} // namespace startertexts
