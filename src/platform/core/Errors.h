#pragma once
#include <stdexcept>
#include <string>

namespace fat {

// Every failure of the product is an exception carrying a text that can be shown as it stands.
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
};

// A value that cannot be converted to the type asked for (text to number, out of range, ...).
class ConversionError : public Error {
public:
    using Error::Error;
};

} // namespace fat
