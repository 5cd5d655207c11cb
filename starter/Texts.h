#pragma once

#include <string>

// The starter's own texts (UTF-8), as the user sees them.
namespace startertexts {

inline constexpr char kProgram[] = "bildbewertung-starten";
inline constexpr char kWarningCaption[] = "Warnung";
inline constexpr char kChooserCaption[] = "Wettbewerbsordner wählen";

inline constexpr char kUsage[] = "Aufruf: bildbewertung-starten [ORDNER]\n"
                                 "Mehr mit: bildbewertung-starten --help\n";

// templateFolder: where the package puts Qel.max and InfoQuintavo.pdf.
inline std::string help(const std::string& templateFolder)
{
    return "Aufruf: bildbewertung-starten [ORDNER]\n"
           "\n"
           "Startet die Bildbewertung im Wettbewerbsordner ORDNER, als hätte man\n"
           "„cd ORDNER; bildbewertung“ eingegeben. Ohne ORDNER fragt ein Auswahlfenster\n"
           "nach dem Ordner.\n"
           "\n"
           "In den Ordner gehören die Bilder (*.jpg), die Gewichtungsdatei Qel.max und\n"
           "die Anleitung InfoQuintavo.pdf; dort speichert das Programm jede Bewertung\n"
           "als <Name>.qel. Vorlagen für Qel.max und InfoQuintavo.pdf liegen in\n" +
           templateFolder +
           "\n"
           "\n"
           "Optionen:\n"
           "  --help     diese Hilfe zeigen\n"
           "  --version  die Version zeigen\n"
           "  --         Ende der Optionen (für Ordner, deren Name mit - beginnt)\n"
           "\n"
           "Rückgabewert: der des Bewertungsprogramms; 1, wenn es den Ordner nicht gibt,\n"
           "er kein Ordner ist oder das Programm nicht startet; 2 bei einem falschen\n"
           "Aufruf.\n";
}

inline std::string unknownOption(const std::string& option)
{
    return std::string(kProgram) + ": unbekannte Option „" + option + "“\n";
}

inline std::string tooManyFolders()
{
    return std::string(kProgram) + ": bitte nur einen Ordner angeben\n";
}

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

inline std::string programNotStarted(const std::string& program)
{
    return "Das Bewertungsprogramm „" + program + "“ kann nicht gestartet werden.";
}

} // namespace startertexts
