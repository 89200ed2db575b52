#pragma once

#include <optional>
#include <string>
#include <utility>

namespace vaultrix {

// What went wrong: a German message for the user and, where there is one, the path concerned.
struct Error {
    std::string message;
    std::string path;
};

// The outcome of an operation that can fail. Nothing in the core throws; callers check this.
template <typename T = void>
class [[nodiscard]] Result {
public:
    Result(T value) : value_(std::move(value)) {}      // NOLINT: a value converts to success
    Result(Error error) : error_(std::move(error)) {}  // NOLINT: an error converts to failure

    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }
    const T& value() const& { return *value_; }
    T& value() & { return *value_; }
    T&& value() && { return std::move(*value_); }
    const Error& error() const { return error_; }

private:
    std::optional<T> value_;
    Error error_;
};

template <>
class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Error error) : failed_(true), error_(std::move(error)) {}  // NOLINT

    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }
    const Error& error() const { return error_; }

private:
    bool failed_ = false;
    Error error_;
};

inline Result<void> success() {
    return {};
}

inline Error failure(std::string message, std::string path = {}) {
    return Error{std::move(message), std::move(path)};
}

}  // namespace vaultrix
