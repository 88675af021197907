#pragma once

#include <exception>
#include <string>

// The program's own failure: a message for the user. What escapes a handler or
// start-up is shown by the application's exception reporter.
class Exception : public std::exception {
public:
    explicit Exception(std::string message = {}) : message_(std::move(message)) {}
    const std::string& message() const { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};
