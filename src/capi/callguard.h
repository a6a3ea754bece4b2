#pragma once

// How every entry of the C interface keeps the process alive: its body runs
// with the calling thread's own assertion handling, and whatever would
// leave it other than by returning a status becomes one.

#include <exception>
#include <new>
#include <string>
#include <string_view>

#include "qassert.h"
#include "quarn/quarn.h"

namespace quarn::capi {

// A failed internal check inside a call of the C interface.
class InternalCheckFailed : public std::exception {
 public:
  InternalCheckFailed(const char* unit, int line);
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

// While alive, every failed assertion of this thread throws
// InternalCheckFailed, so the call ends at once without printing or
// aborting, and neither other threads nor the application see it.
class CallAssertions final : public ThreadAssertHandler {
 public:
  void Report(const char* unit, int line, bool fatal) override;
};

// Sets error to text, or empties it when even that fails for lack of memory.
inline void SetError(std::string& error, std::string_view text) noexcept {
  try {
    error.assign(text);
  } catch (...) {
    error.clear();
  }
}

// Runs body (returning a quarn_status) under CallAssertions. A failed check
// or an exception ends it with QUARN_ERROR_INTERNAL, lack of memory with
// QUARN_ERROR_MEMORY; error then says what failed. error is the handle's
// message, which body may set itself.
template <class Body>
quarn_status RunGuarded(Body&& body, std::string& error) noexcept {
  try {
    const CallAssertions assertions;
    return body();
  } catch (const std::bad_alloc&) {
    SetError(error, "out of memory");
    return QUARN_ERROR_MEMORY;
  } catch (const InternalCheckFailed& failed) {
    SetError(error, failed.what());
  } catch (const std::exception& e) {
    SetError(error, "internal failure: ");
    try {
      error.append(e.what());
    } catch (...) {
      // The start of the message is enough.
    }
  } catch (...) {
    SetError(error, "internal failure of an unknown kind");
  }
  return QUARN_ERROR_INTERNAL;
}

}  // namespace quarn::capi
