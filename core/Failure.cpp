#include "core/Failure.h"

std::string generalErrorText(const std::string& text)
{
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.')
        return text + ".";
    return text;
}
