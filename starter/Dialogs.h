#pragma once

#include <QString>

#include <memory>
#include <optional>
#include <string>

class QApplication;

namespace starter {

// The starter needs windows only for a warning or the folder chooser, so
// the application object comes into being on demand and goes before the
// judging program replaces the process.
class GuiSession {
  public:
    GuiSession();
    ~GuiSession();
    void ensure();
    void end();

  private:
    int argc_ = 1;
    char name_[22] = "bildbewertung-starten";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> application_;
};

void showWarning(const std::string& textUtf8);

// Qt's own folder dialog, starting in startFolder; the chosen folder's bytes,
// nothing on cancel. The dialog's history goes nowhere: the program keeps
// no settings.
std::optional<std::string> chooseFolderWithDialog(const QString& startFolder);

// The user's pictures folder, else the home folder.
QString picturesOrHome();

} // namespace starter
