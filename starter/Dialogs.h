#pragma once

#include <memory>
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

} // namespace starter
