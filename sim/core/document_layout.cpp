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
