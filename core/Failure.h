#pragma once

#include <stdexcept>
#include <string>

// A failure with a text meant for the judge (UTF-8).
class Failure : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The text the general error box shows for a failure: a full stop is
// appended when the text ends in a character that sorts above ".".
std::string generalErrorText(const std::string& text);

// A single byte of Windows-1252 text as UTF-8, for messages that quote one.
std::string windows1252ToUtf8(const std::string& bytes);

// UTF-8 when the bytes are valid UTF-8, else read as Windows-1252.
std::string displayText(const std::string& bytes);
