#include "receipt/closing_input.h"

#include "receipt/positional_input.h"
#include "receipt/retry_question.h"

namespace ecf {

bool ClosingInput::tefRetryMode() const { return ecf::tefRetryMode(tefMode, usesCards); }

bool ClosingInput::checksPrinterFirst() const { return tefMode == "T" && usesCards; }

ClosingInput readClosingInput(const Variant* values, std::int32_t high) {
  const PositionalInput in(values, high);
  ClosingInput input;
  input.promotionalText = in.text(1);
  input.scheme = in.text(2);
  input.issueChangeVoucher = in.flag(4);
  input.discount = in.amount(6);
  input.changeVoucherAmount = in.amount(7);
  input.surcharge = in.amount(8);
  input.tefMode = in.text(9);
  input.closingRemark = in.text(10);
  input.usesCards = in.flag(11);
  input.movements = in.packet(13);
  input.paymentTypes = in.packet(14);
  input.clientCode = in.text(15);
  input.clientName = in.text(16);
  input.consumerCode = in.text(17);
  input.consumerName = in.text(18);
  input.taxpayerId = in.text(19);
  input.taxpayerName = in.text(20);
  input.tableNumber = in.text(21);
  input.operatorCode = in.text(22);
  input.operatorName = in.text(23);
  input.balanceMode = in.text(27);
  input.password = in.text(31);
  input.familyBalances = in.packet(32);
  input.familyDeductions = in.packet(33);
  input.familyLoans = in.packet(34);
  input.familyListing = in.text(35);
  input.balanceSource = in.text(36);
  input.previousBalance = in.amount(37);
  input.subsidisedPrice = in.amount(38);
  input.centredLine = in.text(39);
  input.echoed = in.text(42);
  input.stateCode = in.text(43);
  return input;
}

std::string closingScheme(const Variant* values, std::int32_t high) noexcept {
  return PositionalInput(values, high).textOrEmpty(2);
}

}  // namespace ecf
