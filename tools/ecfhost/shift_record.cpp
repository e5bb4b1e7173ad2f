#include "shift_record.h"

#include "host_tables.h"

namespace ecfhost {
namespace {

using ecf::FieldType;

ecf::FieldDef text(const char* name, int size = 0) { return {name, FieldType::Text, size}; }
ecf::FieldDef real(const char* name) { return {name, FieldType::Real, 0}; }

ecf::Dataset tableOf(const char* name, std::vector<ecf::FieldDef> fields,
                     std::vector<std::vector<ecf::Variant>> rows) {
  ecf::Dataset dataset(name);
  dataset.setData(ecf::DataPacket(std::move(fields), std::move(rows)));
  return dataset;
}

}  // namespace

void ShiftRecord::sell(const std::string& productCode, double quantity, double price) {
  Sold& sold = products_[productCode];
  sold.quantity += quantity;
  sold.total += quantity * price;
}

void ShiftRecord::discount(const std::string& productCode, double amount) {
  Sold& sold = products_[productCode];
  sold.discount += amount;
  sold.total -= amount;
}

void ShiftRecord::take(const std::string& paymentType, double amount) {
  taken_[paymentType] += amount;
}

double ShiftRecord::sales() const {
  double total = 0;
  for (const auto& [code, sold] : products_) total += sold.total;
  return total;
}

double ShiftRecord::taken(const std::string& paymentType) const {
  const auto found = taken_.find(paymentType);
  return found == taken_.end() ? 0 : found->second;
}

ecf::Dataset ShiftRecord::productsSold(double ratePercent) const {
  std::vector<std::vector<ecf::Variant>> rows;
  for (const auto& [code, sold] : products_) {
    if (sold.quantity <= 0) continue;
    rows.push_back({code, product(code).name, sold.quantity, sold.total, 0.0, sold.discount, "T",
                    ratePercent});
  }
  return tableOf("cdsProdutosVendidos",
                 {text("CDPRODUTO", 20), text("NMPRODUTO", 60), real("QTPRODVEND"), real("VRTOTAL"),
                  real("VRACRE"), real("VRDESC"), text("IDTPIMPOSFIS", 1), real("VRPEALIMPFIS")},
                 std::move(rows));
}

ecf::Dataset envelopeTable(const std::vector<Envelope>& envelopes) {
  std::vector<std::vector<ecf::Variant>> rows;
  for (const Envelope& envelope : envelopes) {
    rows.push_back({"", envelope.number, envelope.paymentType, envelope.amount, envelope.amount});
  }
  return tableOf("cdsEnvelopes",
                 {text("CDTIPORECE", 3), text("NRENVELOPE", 6), text("NMTIPORECE", 40),
                  real("VRFECHADIG"), real("VRFECHAINF")},
                 std::move(rows));
}

ecf::Dataset cashMovementTable(const std::vector<CashMovement>& movements) {
  std::vector<std::vector<ecf::Variant>> rows;
  for (const CashMovement& movement : movements) {
    rows.push_back({movement.kind, movement.paymentType, movement.amount});
  }
  return tableOf("cdsMovimentos", {text("IDTIPOREG", 1), text("NMTIPORECE", 40), real("VRSAIDA")},
                 std::move(rows));
}

ecf::Dataset closingPeople(const std::string& supervisorCode, const std::string& supervisor,
                           const std::string& operatorCode, const std::string& operatorName) {
  return tableOf("cdsOperadorSup",
                 {text("CDSUPERVISOR"), text("NMSUPERVISOR"), text("CDOPERADOR"),
                  text("NMOPERADOR")},
                 {{supervisorCode, supervisor, operatorCode, operatorName}});
}

}  // namespace ecfhost
