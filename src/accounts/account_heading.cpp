#include "accounts/account_heading.h"

#include "base/dateformat.h"
#include "config/status.h"
#include "ecf/module.h"
#include "host/export_guard.h"
#include "host/module_env.h"

namespace ecf {

void printAccountHeading(ReportInProgress& report, const std::string& title,
                         const std::string& cashRegister) {
  // Every account document reads the counter first, so the debug log records which COO
  // it follows; the counter itself is not printed.
  readReceiptCounter(report.scheme());
  // A refused opening has been shown to the operator; the heading is sent all the same
  // and the printer decides.
  report.open();
  ReportBlock heading;
  heading.blankLine()
      .dashes()
      .centred(title)
      .blankLine()
      .dashes()
      .line("Caixa: " + cashRegister + std::string(16, ' ') +
            formatDateTime("dd/mm/yyyy hh:nn", moduleEnv().now(), hostSettings()))
      .dashes();
  report.print(heading);
}

}  // namespace ecf

extern "C" {

// The pass-through text goes to the report opening, which does not use it.
ECF_API void Cabecalho(const std::string& /*passThrough*/, const std::string& scheme,
                       const std::string& title, const std::string& cashRegister,
                       const std::string& /*unused5*/, const std::string& /*unused6*/) {
  ecf::guardedVoid("Cabecalho", scheme, [&] {
    ecf::ReportInProgress report(scheme);
    ecf::printAccountHeading(report, title, cashRegister);
    report.leaveOpen();
  });
}

}  // extern "C"
