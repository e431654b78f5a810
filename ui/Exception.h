#pragma once
#include <exception>
#include <string>

namespace ui {

// The UI layer's own exception class: its message is what the error box shows.
class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const std::string& Message() const { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

// Raised when text does not convert to a number.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

} // namespace ui
