#pragma once
// Checking a Result in one comparison: the kind of its error, or nullopt when it holds a value.

#include "core/result.h"

#include <optional>
#include <ostream>
#include <string>

namespace pote {

inline std::ostream& operator<<(std::ostream& out, Error::Kind kind) {
    switch (kind) {
    case Error::Kind::Io:
        return out << "Io";
    case Error::Kind::Refused:
        return out << "Refused";
    case Error::Kind::NoSpace:
        return out << "NoSpace";
    case Error::Kind::Cancelled:
        return out << "Cancelled";
    }
    return out << int(kind);
}

namespace test {

template <typename R> std::optional<Error::Kind> failureOf(const R& result) {
    if (result.ok()) return std::nullopt;
    return result.error().kind;
}

// The value, or nullopt for a failure.
template <typename T> std::optional<T> valueOf(const Result<T>& result) {
    if (!result.ok()) return std::nullopt;
    return *result;
}

// The error's text for a failure message, empty for a value.
template <typename R> std::string errorText(const R& result) {
    return result.ok() ? std::string() : result.error().text.toStdString();
}

} // namespace test
} // namespace pote
