// The service's one error shape: {"error": {"code", "message", "printer": {...}}}. The codes
// are stable (clients branch on them); the message is for people.
#pragma once

#include <stdexcept>
#include <string>

#include <nlohmann/json.hpp>

namespace ecfd {

using Json = nlohmann::json;

// The printer's own account of a refusal, as the module's reply lists it.
struct PrinterError {
  int code = 0;
  std::string name;
  std::string circumstance;
  bool empty() const { return code == 0 && name.empty(); }
  Json toJson() const;
};

namespace codes {
inline constexpr const char* kBadRequest = "bad_request";
inline constexpr const char* kUnauthorised = "unauthorized";
inline constexpr const char* kForbiddenHost = "forbidden_host";
inline constexpr const char* kNotFound = "not_found";
inline constexpr const char* kUnknownOperation = "unknown_operation";
inline constexpr const char* kMethodNotAllowed = "method_not_allowed";
inline constexpr const char* kPayloadTooLarge = "payload_too_large";
inline constexpr const char* kBusy = "busy";
inline constexpr const char* kPrinterRefused = "printer_refused";
inline constexpr const char* kPrinterOffline = "printer_offline";
inline constexpr const char* kSaleInProgress = "sale_in_progress";
inline constexpr const char* kSaleMismatch = "sale_id_reused";
inline constexpr const char* kInternal = "internal_error";
}  // namespace codes

// An HTTP status with its error body.
class ApiError : public std::runtime_error {
 public:
  ApiError(int status, std::string code, const std::string& message, PrinterError printer = {})
      : std::runtime_error(message), status(status), code(std::move(code)), printer(std::move(printer)) {}
  int status;
  std::string code;
  PrinterError printer;
  Json toJson() const;
};

Json errorBody(const std::string& code, const std::string& message, const PrinterError& printer = {});

}  // namespace ecfd
