#pragma once
#include "platform/core/Errors.h"

namespace fat::directory {

// Failures of the JSON values. Messages are single-byte WIN1252 texts, like the source text
// they may quote.

class ParseException : public Error {
public:
    ParseException(const std::string& message, int position) : Error(message), position_(position) {}
    // The tokenizer's position (1-based) when the error was found.
    int position() const { return position_; }

private:
    int position_;
};

class NoSuchElementException : public Error {
public:
    using Error::Error;
};

// Part of the family for writers of typed getters; the reading side in use does not raise it.
class ClassCastException : public Error {
public:
    using Error::Error;
};

class NumberFormatException : public Error {
public:
    using Error::Error;
};

class NullPointerException : public Error {
public:
    using Error::Error;
};

// The name keeps the library's historical spelling.
class NotImplmentedFeature : public Error {
public:
    using Error::Error;
};

} // namespace fat::directory
