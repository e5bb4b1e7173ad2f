// The 44 positions the host hands the receipt closing, as one typed record.
#pragma once

#include <cstdint>
#include <string>

#include "ecf/datapacket.h"
#include "ecf/variant.h"

namespace ecf {

struct ClosingInput {
  std::string promotionalText;      // 1: first line of the footer
  std::string scheme;               // 2
  bool issueChangeVoucher = false;  // 4
  double discount = 0;              // 6: on the subtotal
  double changeVoucherAmount = 0;   // 7
  double surcharge = 0;             // 8: on the subtotal
  std::string tefMode;              // 9: "S" or "T" in TEF mode
  std::string closingRemark;        // 10: last footer line
  bool usesCards = false;           // 11
  DataPacket movements;             // 13: the sale's cash movements
  DataPacket paymentTypes;          // 14
  std::string clientCode;           // 15
  std::string clientName;           // 16
  std::string consumerCode;         // 17: empty when the sale has no consumer
  std::string consumerName;         // 18
  std::string taxpayerId;           // 19: CNPJ/CPF
  std::string taxpayerName;         // 20
  std::string tableNumber;          // 21: table or order-pad number
  std::string operatorCode;         // 22
  std::string operatorName;         // 23
  std::string balanceMode;          // 27: "0", "1" or "2"
  std::string password;             // 31
  DataPacket familyBalances;        // 32
  DataPacket familyDeductions;      // 33
  DataPacket familyLoans;           // 34
  std::string familyListing;        // 35: "2" lists the families with their total
  std::string balanceSource;        // 36: "1" or "2"
  double previousBalance = 0;       // 37
  double subsidisedPrice = 0;       // 38
  std::string centredLine;          // 39
  std::string echoed;               // 42: handed back in the result array
  std::string stateCode;            // 43: "MG" adds the Minas Legal line

  // A refused command may be retried only in TEF retry mode.
  bool tefRetryMode() const;
  // Only a card sale whose TEF mode is "T" asks the printer's state before closing.
  bool checksPrinterFirst() const;
};

// Throws std::runtime_error naming a position that cannot be read as its kind.
ClosingInput readClosingInput(const Variant* values, std::int32_t high);

// The colour scheme (position 2) without throwing, for reporting a failure.
std::string closingScheme(const Variant* values, std::int32_t high) noexcept;

}  // namespace ecf
