// The host's own tables in the demo, as a small POS keeps them: payment types, products,
// and the cash movements a sale records, in the layouts the module reads.
#pragma once

#include <string>
#include <vector>

#include "ecf/dataset.h"
#include "ecf/datetime.h"
#include "ecf/settings.h"

namespace ecfhost {

// The payment types of the cashier's screen: Dinheiro, the two cards, a meal voucher,
// and a customer-account type that is not a printer payment ("B").
ecf::Dataset builtInPaymentTypes();

struct Product {
  std::string code;
  std::string name;
  std::string unit;
  double price;
};

// The demo's menu, by code.
const Product& product(const std::string& code);

struct Payment {
  std::string typeCode;  // CDTIPORECE
  double amount;
};

// The sale's cash movements (one "E" row per payment, a second apart from `first`), with
// each type's names taken from the reconciled payment types.
ecf::DataPacket cashMovements(const std::vector<Payment>& payments,
                              const ecf::DataPacket& paymentTypes, const ecf::DateTime& first);

// A field of the first row whose `keyField` is `key`, as text; "" when there is none.
std::string lookup(const ecf::DataPacket& packet, const std::string& keyField,
                   const std::string& key, const std::string& field);

// 1234.5 -> "1234,50" (or "1234.50" under a decimal point).
std::string money(double amount, const ecf::HostSettings& settings);

}  // namespace ecfhost
