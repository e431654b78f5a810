#include "Convert.h"

#include "Exception.h"

namespace ui {

namespace {

[[noreturn]] void NotAnInteger(const std::string& text)
{
    // The text goes into the message as data, never as a format.
    throw EConvertError("'" + text + "' is not a valid integer value");
}

} // namespace

int32_t StrToInt(const std::string& text)
{
    size_t pos = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '-' || text[0] == '+'))
        pos = 1;
    if (pos == text.size())
        NotAnInteger(text);

    const int64_t limit = negative ? -static_cast<int64_t>(INT32_MIN) : INT32_MAX;
    int64_t magnitude = 0;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c < '0' || c > '9')
            NotAnInteger(text);
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > limit)
            NotAnInteger(text);
    }
    return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

} // namespace ui
