#include "api_error.h"

namespace ecfd {

Json PrinterError::toJson() const {
  if (empty()) return nullptr;
  return {{"code", code}, {"name", name}, {"circumstance", circumstance}};
}

Json errorBody(const std::string& code, const std::string& message, const PrinterError& printer) {
  return {{"error", {{"code", code}, {"message", message}, {"printer", printer.toJson()}}}};
}

Json ApiError::toJson() const { return errorBody(code, what(), printer); }

}  // namespace ecfd
