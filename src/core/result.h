#pragma once
// What the logic libraries hand back from work that can fail: a value, or an Error that says
// what went wrong in words the window can show as they are. The command that called decides
// what to do; the Reporter turns an Error into the cat's reaction and a box.

#include <QString>
#include <QtGlobal>

#include <optional>
#include <utility>
#include <variant>

namespace pote {

struct Error {
    enum class Kind {
        Io,        // the system failed us: text is its own
        Refused,   // the program will not do it: text is the cat's whole message
        NoSpace,   // the disk is (or would be) full: text is the cat's message
        Cancelled, // the user said no; nothing to tell
    };
    Kind kind = Kind::Io;
    // The file or folder the error is about. A box names it above the text; empty when the
    // text says all there is to say.
    QString path;
    QString text;

    static Error io(QString path, QString text) {
        return {Kind::Io, std::move(path), std::move(text)};
    }
    static Error refused(QString text, QString path = {}) {
        return {Kind::Refused, std::move(path), std::move(text)};
    }
    static Error noSpace(QString text, QString path = {}) {
        return {Kind::NoSpace, std::move(path), std::move(text)};
    }
    static Error cancelled() { return {Kind::Cancelled, {}, {}}; }
};

// A value or the Error that took its place (what C++23 calls std::expected<T, Error>).
template <typename T> class [[nodiscard]] Result {
public:
    Result(T value) : m_state(std::in_place_index<0>, std::move(value)) {}
    Result(Error error) : m_state(std::in_place_index<1>, std::move(error)) {}

    bool ok() const { return m_state.index() == 0; }
    explicit operator bool() const { return ok(); }

    T& value() & { return std::get<0>(m_state); }
    const T& value() const& { return std::get<0>(m_state); }
    T&& value() && { return std::get<0>(std::move(m_state)); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }
    T&& operator*() && { return std::move(*this).value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }

    const Error& error() const { return std::get<1>(m_state); }

private:
    std::variant<T, Error> m_state;
};

// Work that has nothing to hand back but may fail.
template <> class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Error error) : m_error(std::move(error)) {}

    bool ok() const { return !m_error; }
    explicit operator bool() const { return ok(); }
    const Error& error() const {
        Q_ASSERT(m_error);
        return *m_error;
    }

private:
    std::optional<Error> m_error;
};

} // namespace pote
