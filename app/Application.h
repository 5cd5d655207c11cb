#pragma once

#include "Viewer/MessageBoxes.h"

#include <QApplication>

// Every failure that escapes an event handler reaches the general error box;
// the event loop goes on.
class Application : public QApplication {
  public:
    Application(int& argc, char** argv, messagebox::Boxes& boxes);
    bool notify(QObject* receiver, QEvent* event) override;

  private:
    messagebox::Boxes& boxes_;
};
