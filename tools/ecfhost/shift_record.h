// What a small POS records of a shift for its cash closing: the products sold, the money
// taken per payment type, and the tables the closing reads, in the layouts the module reads.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "ecf/dataset.h"

namespace ecfhost {

class ShiftRecord {
 public:
  void sell(const std::string& productCode, double quantity, double price);
  // A discount on the receipt, booked against one of its products.
  void discount(const std::string& productCode, double amount);
  // Money taken in a payment type (CDTIPORECE); change handed back is a negative take.
  void take(const std::string& paymentType, double amount);

  double sales() const;
  double taken(const std::string& paymentType) const;

  // The products sold (CDPRODUTO ... VRPEALIMPFIS), all under one taxed rate.
  ecf::Dataset productsSold(double ratePercent) const;

 private:
  struct Sold {
    double quantity = 0;
    double total = 0;
    double discount = 0;
  };
  std::map<std::string, Sold> products_;  // by product code
  std::map<std::string, double> taken_;   // by payment type
};

struct Envelope {
  std::string number;
  std::string paymentType;  // as printed
  double amount;
};

// The envelopes handed over, counted as informed.
ecf::Dataset envelopeTable(const std::vector<Envelope>& envelopes);

struct CashMovement {
  std::string kind;  // "1"/"5" money, "2" change vouchers issued, "3" supply, "4" received
  std::string paymentType;
  double amount;
};

ecf::Dataset cashMovementTable(const std::vector<CashMovement>& movements);

ecf::Dataset closingPeople(const std::string& supervisorCode, const std::string& supervisor,
                           const std::string& operatorCode, const std::string& operatorName);

}  // namespace ecfhost
