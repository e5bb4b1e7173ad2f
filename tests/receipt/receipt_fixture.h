// A started printer with the payment methods and totalizers a sale needs, and builders
// for the host's inputs: the opening and item bags, the cash-movement and payment-type
// packets, and the 44 closing positions.
#pragma once

#include <string>
#include <tuple>
#include <vector>

#include "support/module_fixture.h"

namespace ecftest {

inline const std::string kScheme = "ESQ9";
inline const std::string kNotResponding = "Impressora não responde. Imprimir novamente?";
inline const std::string kVendorLine = "Sistema de automação comercial";

// One cash movement of the sale (a row of position 13).
struct Movement {
  Movement(std::string kind, int minute, std::string type, double amount, std::string card = "",
           std::string originalType = "")
      : kind(std::move(kind)),
        minute(minute),
        type(std::move(type)),
        amount(amount),
        card(std::move(card)),
        originalType(std::move(originalType)) {}

  std::string kind;          // IDTIPOMOVIVE
  int minute;                // DTHRINCMOV: 10:<minute> of the test's day
  std::string type;          // CDTIPORECE
  double amount;             // VRMOVIVEND
  std::string card;          // CDBANCARTCR
  std::string originalType;  // CDTIPORECEORIG
};

// One payment type (a row of position 14).
struct PaymentType {
  std::string code;  // CDTIPORECE
  std::string name;  // NMTIPORECE: the printer's name
  std::string kind;  // IDTIPORECE
};

struct Family {
  std::string code;
  std::string name;
  double balance = 0;
};

// The closing positions, with a plain sale's values; tests change what they exercise.
class Closing {
 public:
  Closing();
  ecf::Variant& operator[](int position) { return values_.at(static_cast<std::size_t>(position)); }
  const ecf::Variant* data() const { return values_.data(); }
  std::int32_t high() const { return static_cast<std::int32_t>(values_.size()) - 1; }

  void payments(const std::vector<Movement>& movements);
  void paymentTypes(const std::vector<PaymentType>& types);
  void tefRetryMode() {
    (*this)[9] = "S";
    (*this)[11] = true;
  }
  void families(const std::vector<Family>& balances);
  void deductions(const std::vector<std::pair<std::string, double>>& amounts);
  // (family, "D" or "C", amount)
  void loans(const std::vector<std::tuple<std::string, std::string, double>>& movements);

 private:
  std::vector<ecf::Variant> values_;
};

ecf::DataPacket movementPacket(const std::vector<Movement>& movements,
                               const std::string& leaveOut = "");
ecf::DataPacket paymentTypePacket(const std::vector<PaymentType>& types,
                                  const std::string& leaveOut = "");

// The payment types the printer of these tests knows (see ReceiptTest::SetUp).
std::vector<PaymentType> standardPaymentTypes();

class ReceiptTest : public ModuleTest {
 protected:
  void SetUp() override;

  ecf::Variant openingBag(const std::string& cpf = "", const std::string& tefMode = "N",
                          bool usesCards = false) const;
  ecf::Variant itemBag(const std::string& code, const std::string& name,
                       const ecf::Variant& quantity, const ecf::Variant& price,
                       const std::string& taxCode = "00", const std::string& tefMode = "N",
                       bool usesCards = false) const;

  // Opens a receipt and sells one item for `amount` (quantity 1).
  void openAndSell(double amount, const std::string& cpf = "");
  // FechaCupom with a result array of three elements.
  bool close(const Closing& closing, ecf::Variant& result);
  bool close(const Closing& closing);
  // Sells `amount`, closes with `closing` (paid by one cash movement of `amount` unless
  // it already has payments) and returns the footer text the printer received.
  std::string footerOfSale(Closing closing, double amount = 10.0);

  void forget() {
    printer().clearRecord();
    op().clear();
    markLog();
  }
  // Answers to the questions after refused commands, in order.
  void answerAfterRefusals(const std::vector<bool>& answers) {
    for (const bool answer : answers) op().answerNext(answer);
  }
  // The questions asked (letter2 "S"), in order.
  std::vector<std::string> questions();
  // The notices shown (letter2 "N"), in order.
  std::vector<std::string> notices();
  std::vector<std::string> sentValues(const std::string& command, const std::string& param);
  nlohmann::json state() { return printer().state(); }

  std::string changeVoucherCode_;
};


}  // namespace ecftest
