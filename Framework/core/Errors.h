#pragma once
// The two exception types every area throws.

#include <exception>
#include <stdexcept>
#include <string>

namespace zor {

// Data, asset and save errors. Loaders nest their texts ("Could not read ...").
class CheckReleaseError : public std::runtime_error {
public:
    explicit CheckReleaseError(const std::string& message) : std::runtime_error(message) {}
};

// Fatal errors: only main catches these for good and shows them in a message box.
struct MainError : std::exception {
    explicit MainError(std::string text) : message(std::move(text)) {}
    const char* what() const noexcept override { return message.c_str(); }

    std::string message;
};

} // namespace zor
