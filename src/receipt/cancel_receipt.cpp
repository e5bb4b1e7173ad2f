// Cancelling the current or last fiscal receipt, then bringing the grand-total file up
// to date, since a cancellation changes the printer's counters.
#include <exception>
#include <string>

#include "config/status.h"
#include "driver/command.h"
#include "driver/debug_log.h"
#include "driver/grand_total.h"
#include "ecf/module.h"
#include "host/export_guard.h"
#include "host/hostlib.h"
#include "receipt/positional_input.h"

namespace ecf {
namespace {

// Index 0 of the result array receives the receipt counter.
constexpr std::size_t kResultSize = 1;

bool cancelReceipt(const PositionalInput& in, Variant& result) {
  const std::string scheme = in.text(0);
  const std::string branch = in.text(4);
  const std::string cashRegister = in.text(5);
  const std::string serial = in.text(6);

  // The counter of the receipt the cancellation was asked for, read before it.
  const std::string receiptCounter = readReceiptCounter(scheme);
  resultArray(result, kResultSize)[0] = Variant(receiptCounter);
  if (EmptyString(receiptCounter)) return false;

  std::string returned;
  const bool cancelled = runQuery(Command{"CancelaCupom", {{"Operador", "", PARAMETRO_STRING}}},
                                  executedLine("CancelaCupom"), scheme, true, returned);

  // Runs whatever the printer answered; its own outcome never changes the cancellation's.
  try {
    updateGrandTotalFile(makeBag({{"CDFILIAL", branch},
                                  {"CDCAIXA", cashRegister},
                                  {"NRSERIEIMP", serial},
                                  {"ESQUEMACOR", scheme},
                                  {"IDVALIDA", "N"}}));
  } catch (const std::exception& error) {
    writeDebugLine(std::string("ERRO!!! Atu_TotGeral: ") + error.what());
  }
  return cancelled;
}

}  // namespace
}  // namespace ecf

extern "C" ECF_API bool Cancela_Cupom_Imp(const ecf::Variant* values, std::int32_t high,
                                          ecf::Variant& result) {
  const ecf::PositionalInput in(values, high);
  return ecf::guarded("Cancela_Cupom_Imp", in.textOrEmpty(0), false,
                      [&] { return ecf::cancelReceipt(in, result); });
}
