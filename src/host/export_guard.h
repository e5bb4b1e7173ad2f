// The one way every exported operation runs: under the module-wide lock, so two host
// threads never interleave commands in the driver's single parameter list, and with no
// exception ever reaching the host.
#pragma once

#include <mutex>
#include <stdexcept>
#include <string>

namespace ecf {

// Raised by the command layer when the driver is not bound or the port is not open:
// the operation logs it and returns its failure result without bothering the operator.
class DriverUnavailable : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

std::recursive_mutex& moduleLock();

// Shows an escaped error to the operator as a notice in the operation's colour scheme
// and logs it. Never throws.
void reportEscapedError(const char* operation, const std::string& scheme,
                        const std::string& what) noexcept;
void reportUnavailable(const char* operation, const std::string& what) noexcept;

template <class Result, class Body>
Result guarded(const char* operation, const std::string& scheme, Result failure,
               Body&& body) noexcept {
  try {
    std::lock_guard<std::recursive_mutex> lock(moduleLock());
    try {
      return body();
    } catch (const DriverUnavailable& error) {
      reportUnavailable(operation, error.what());
    } catch (const std::exception& error) {
      reportEscapedError(operation, scheme, error.what());
    } catch (...) {
      reportEscapedError(operation, scheme, "erro desconhecido");
    }
  } catch (...) {
    // Only the lock itself can get here; the failure result is all that is left.
  }
  return failure;
}

template <class Body>
void guardedVoid(const char* operation, const std::string& scheme, Body&& body) noexcept {
  guarded(operation, scheme, 0, [&] {
    body();
    return 0;
  });
}

}  // namespace ecf
