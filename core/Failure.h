#pragma once

#include "core/TextEncoding.h" // displayText, for the callers that quote a name

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
