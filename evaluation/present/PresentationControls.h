#pragma once

#include <QWidget>

#include <string>

class QSpinBox;

namespace evaluation {

// The ranking window's way to the projector: "Präsentation" with its two
// shows, and how many places the announcement tells ("alle" or up to N).
class PresentationControls : public QWidget {
    Q_OBJECT
  public:
    // folder: bytes, as the window reads it.
    explicit PresentationControls(const std::string& folder, QWidget* parent = nullptr);

  private:
    void start(bool round);

    std::string folder_;
    QSpinBox* places_ = nullptr;
};

} // namespace evaluation
