// The footer under the payments of a fiscal receipt, sent with the closing command, in
// its six layouts: four for an ordinary sale, two listing family credit balances.
#pragma once

#include <string>

#include "ecf/datamodule.h"
#include "receipt/closing_input.h"

namespace ecf {


// What the payments of the closing found out, that the footer prints.
struct PaymentFacts {
  bool agreementPaymentSeen = false;  // selects the agreement layout
  double creditPaid = 0;              // paid from the consumer's credit
  std::string lastPaymentText;        // the amount text of the last payment sent
};

// "Mesa  : 12           - " or "Comanda : ABCDE   - "; "" without a table number.
std::string tableLine(const std::string& tableNumber);

// "MINAS LEGAL: " + first 8 characters of the CNPJ/CPF + today as ddmmyyyy + the whole
// part of the last payment text.
std::string minasLegalLine(const std::string& taxpayerId, const std::string& lastPaymentText);

// The footer text for the closing. Reads the family-balance datasets of `module`.
std::string buildFooter(const ClosingInput& input, const PaymentFacts& payments,
                        const std::string& tableLine, const std::string& minasLegalLine,
                        TdtmEcf01600& module);

// Sends "EncerraDocumento" with the footer; true when the printer accepted it.
bool sendClosingWithFooter(const std::string& footer, const std::string& scheme);

}  // namespace ecf
