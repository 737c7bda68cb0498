// A value or the message saying why there is none: the host's way of passing
// failures up to the command line, where they become a message and an exit code.
#pragma once

#include <string>
#include <utility>
#include <variant>

namespace zt::host {

struct Failure {
    std::string message;
};

template <class T>
class Expected {
  public:
    Expected(T value) : state_(std::move(value)) {}
    Expected(Failure failure) : state_(std::move(failure)) {}

    bool ok() const { return std::holds_alternative<T>(state_); }
    explicit operator bool() const { return ok(); }
    T& value() { return std::get<T>(state_); }
    const T& value() const { return std::get<T>(state_); }
    T* operator->() { return &value(); }
    const std::string& error() const { return std::get<Failure>(state_).message; }

  private:
    std::variant<T, Failure> state_;
};

} // namespace zt::host
