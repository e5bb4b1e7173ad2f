#include "dayclose/movement_date.h"

#include <optional>
#include <string>

#include "base/utf8.h"
#include "driver/command.h"
#include "driver/debug_log.h"
#include "driver/registers.h"
#include "ecf/module.h"
#include "host/export_guard.h"
#include "host/module_env.h"

namespace ecf {
namespace {

// The printer's answer while no fiscal day is open.
constexpr const char* kNoDayOpen = "000000";

int number(const std::string& digits) { return std::stoi(digits); }

}  // namespace

bool parseOpeningDate(const std::string& text, const DateTime& today, DateTime& date) {
  std::string day, month, year;
  if (text.size() == 6) {
    day = text.substr(0, 2), month = text.substr(2, 2), year = text.substr(4, 2);
  } else if ((text.size() == 8 || text.size() == 10) && text[2] == '/' && text[5] == '/') {
    day = text.substr(0, 2), month = text.substr(3, 2), year = text.substr(6);
  } else {
    return false;
  }
  if (!isDigits(day) || !isDigits(month) || !isDigits(year)) return false;
  const int fullYear =
      year.size() == 2 ? today.year() / 100 * 100 + number(year) : number(year);
  if (!DateTime::isValid(fullYear, number(month), number(day))) return false;
  date = DateTime::fromParts(fullYear, number(month), number(day));
  return true;
}

DateTime readMovementDate(const std::string& scheme) {
  const DateTime today = moduleEnv().now().date();
  std::string returned;
  if (!runQuery(Command{"LeData", {{"NomeData", "DataAbertura", PARAMETRO_STRING}}},
                executedLine("LeData - DataAbertura"), scheme, false, returned)) {
    return today;
  }
  std::string value = delimitedValue(returned);
  keepReturnedValue(value);
  if (value.empty()) value = kNoDayOpen;
  writeDebugLine("Retorno da Impressora : " + value);
  // With no day open, the day to be closed is today's.
  if (value == kNoDayOpen) return today;
  DateTime opened;
  return parseOpeningDate(value, today, opened) ? opened : today;
}

}  // namespace ecf

extern "C" {

ECF_API ecf::DateTime DataMoviFiscal(const std::string& scheme) {
  const auto read = ecf::guarded("DataMoviFiscal", scheme, std::optional<ecf::DateTime>(),
                                 [&] { return std::optional(ecf::readMovementDate(scheme)); });
  if (read) return *read;
  // Whatever went wrong, the day being closed is today's.
  return ecf::guarded("DataMoviFiscal", scheme, ecf::DateTime(),
                      [] { return ecf::moduleEnv().now().date(); });
}

}  // extern "C"
