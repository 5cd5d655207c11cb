#pragma once

#include <QWidget>

#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;

namespace evaluation {

// Picks the competitions of a season, the rule and the output folder, and
// writes Jahreswertung.csv, .pdf and .html, showing the standings and every
// competition left out.
class SeasonWindow : public QWidget {
    Q_OBJECT
  public:
    // folders: bytes, listed to start with.
    explicit SeasonWindow(const std::vector<std::string>& folders = {}, QWidget* parent = nullptr);

    void write(); // as the button does

  private:
    void addFolder(const std::string& folder);
    void chooseFolder();
    void chooseOutput();

    QListWidget* folders_ = nullptr;
    std::vector<std::string> paths_; // bytes, per row of folders_
    QLineEdit* rule_ = nullptr;
    QLineEdit* output_ = nullptr;
    QLabel* result_ = nullptr;
};

} // namespace evaluation
