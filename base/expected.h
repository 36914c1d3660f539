// Results of operations that can fail with one of the system's own messages.
#pragma once

#include <string>
#include <utility>
#include <variant>

namespace zandrel::base {

// The reason an operation failed: the text the system shows the user.
struct Failure {
  std::string message;
};

// A value, or the failure that prevented it.
template <class T>
class Expected {
 public:
  Expected(T value) : state_(std::move(value)) {}
  Expected(Failure failure) : state_(std::move(failure)) {}

  bool ok() const { return std::holds_alternative<T>(state_); }
  explicit operator bool() const { return ok(); }

  T& value() & { return std::get<T>(state_); }
  const T& value() const& { return std::get<T>(state_); }
  T&& value() && { return std::get<T>(std::move(state_)); }
  T& operator*() & { return value(); }
  const T& operator*() const& { return value(); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }

  const std::string& error() const { return std::get<Failure>(state_).message; }

 private:
  std::variant<T, Failure> state_;
};

// Success, or the failure's message.
class Status {
 public:
  Status() = default;
  Status(Failure failure) : message_(std::move(failure.message)), failed_(true) {}

  bool ok() const { return !failed_; }
  explicit operator bool() const { return ok(); }
  const std::string& error() const { return message_; }

 private:
  std::string message_;
  bool failed_ = false;
};

}  // namespace zandrel::base
