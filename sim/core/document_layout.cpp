#include "core/document_layout.h"

#include <cstdio>

namespace ecfsim {

std::string counter6(int value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%06d", value);
  return buffer;
}

void printHeader(Paper& paper, const PrinterState& state, const DateTime& now,
                 std::string_view counters) {
  const Identity& id = state.identity;
  paper.separator();
  for (const std::string& line : id.header) paper.centered(line);
  paper.line("CNPJ:" + id.cnpj + "  IE:" + id.ie);
  paper.line("IM:" + id.im);
  paper.rule();
  paper.leftRight(printedDateTime(now), counters);
}

bool parseHeaderLine(std::string_view line, Date& date, int& coo) {
  constexpr std::string_view kCooMark = "COO:";
  if (line.size() < 19 + 1 + kCooMark.size() + 6) return false;
  const auto day = parseSlashDate(line.substr(0, 10));
  if (!day || line[10] != ' ' || !parseClockTime(line.substr(11, 8))) return false;
  const std::string_view tail = line.substr(line.size() - 10);
  if (tail.substr(0, 4) != kCooMark) return false;
  int value = 0;
  for (const char c : tail.substr(4)) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  date = *day;
  coo = value;
  return true;
}

void printFooter(Paper& paper, const PrinterState& state) {
  const Identity& id = state.identity;
  char number[32];
  std::snprintf(number, sizeof number, "ECF:%03d", id.ecfNumber);
  paper.rule();
  paper.leftRight(id.model + " " + id.firmware, number);
  paper.leftRight("FAB:" + id.serial, "BR");
}

void printAmount(Paper& paper, std::string_view label, Cents value) {
  paper.leftRight(label, formatCents(value));
}

}  // namespace ecfsim
