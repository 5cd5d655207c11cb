#pragma once

#include <QString>

#include <functional>
#include <string>
#include <utility>

// The program's modal boxes, each with one "OK" button (the question has
// "Ja" and "Nein"). The program makes one and hands it to what shows boxes;
// tests and benchmarks give theirs a recorder so nothing blocks.
namespace messagebox {

enum class Kind { Warning, Information, GeneralError, Question };

// Receives every box instead of showing it; for a question its result is
// the answer (true = yes).
using Recorder = std::function<bool(Kind, const QString& text)>;

class Boxes {
  public:
    explicit Boxes(Recorder recorder = {}) : recorder_(std::move(recorder)) {}

    void warning(const std::string& textUtf8);
    void information(const std::string& textUtf8);
    // The failure's own text; the box appends the full stop where it belongs.
    void generalError(const std::string& failureTextUtf8);
    bool question(const std::string& textUtf8);

    // True while a box (or the recorder standing in for one) waits for the
    // judge: timers that fire in its event loop leave the screen alone.
    bool isOpen() const { return open_ > 0; }

  private:
    bool show(Kind kind, const QString& text);

    Recorder recorder_;
    int open_ = 0;
};

} // namespace messagebox
