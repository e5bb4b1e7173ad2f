// The cash closing as a host calls it: its tables built row by row, its 34 arguments with
// a host's usual values, and readers of what it printed.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "nonfiscal/nonfiscal_fixture.h"

namespace ecftest {

struct EnvelopeRow {
  const char* number;
  const char* paymentType;
  double counted;   // VRFECHADIG
  double informed;  // VRFECHAINF
};

struct MovementRow {
  const char* kind;  // IDTIPOREG
  const char* paymentType;
  double amount;
};

struct SoldRow {
  const char* code;
  const char* name;
  double quantity;
  double total;
};

inline ecf::Dataset table(const char* name, std::vector<ecf::FieldDef> fields) {
  ecf::Dataset dataset(name);
  dataset.setFieldDefs(std::move(fields));
  dataset.createDataSet();
  return dataset;
}

inline ecf::Dataset envelopeTable(const std::vector<EnvelopeRow>& rows) {
  ecf::Dataset envelopes = table("envelopes", {{"CDTIPORECE", ecf::FieldType::Text, 3},
                                               {"NRENVELOPE", ecf::FieldType::Text, 6},
                                               {"NMTIPORECE", ecf::FieldType::Text, 40},
                                               {"VRFECHADIG", ecf::FieldType::Real, 0},
                                               {"VRFECHAINF", ecf::FieldType::Real, 0},
                                               {"DTABERCAIX", ecf::FieldType::DateTime, 0}});
  for (const EnvelopeRow& row : rows) {
    envelopes.append();
    envelopes.setValue("NRENVELOPE", row.number);
    envelopes.setValue("NMTIPORECE", row.paymentType);
    envelopes.setValue("VRFECHADIG", row.counted);
    envelopes.setValue("VRFECHAINF", row.informed);
    envelopes.post();
  }
  return envelopes;
}

// `count` envelopes of 10,00 each.
inline ecf::Dataset envelopesOfTen(int count) {
  std::vector<EnvelopeRow> rows(static_cast<std::size_t>(count),
                                EnvelopeRow{"000001", "Dinheiro", 10, 10});
  return envelopeTable(rows);
}

inline ecf::Dataset peopleTable(const char* supervisorCode, const char* supervisor,
                                const char* operatorCode, const char* operatorName) {
  ecf::Dataset people = table("pessoas", {{"CDSUPERVISOR", ecf::FieldType::Text, 0},
                                          {"NMSUPERVISOR", ecf::FieldType::Text, 0},
                                          {"CDOPERADOR", ecf::FieldType::Text, 0},
                                          {"NMOPERADOR", ecf::FieldType::Text, 0}});
  people.append();
  people.setValue("CDSUPERVISOR", supervisorCode);
  people.setValue("NMSUPERVISOR", supervisor);
  people.setValue("CDOPERADOR", operatorCode);
  people.setValue("NMOPERADOR", operatorName);
  people.post();
  return people;
}

inline ecf::Dataset movementTable(const std::vector<MovementRow>& rows) {
  ecf::Dataset movements = table("movimentos", {{"IDTIPOREG", ecf::FieldType::Text, 1},
                                                {"NMTIPORECE", ecf::FieldType::Text, 40},
                                                {"VRSAIDA", ecf::FieldType::Real, 0}});
  for (const MovementRow& row : rows) {
    movements.append();
    movements.setValue("IDTIPOREG", row.kind);
    movements.setValue("NMTIPORECE", row.paymentType);
    movements.setValue("VRSAIDA", row.amount);
    movements.post();
  }
  return movements;
}

inline ecf::Dataset soldTable(const std::vector<SoldRow>& rows) {
  ecf::Dataset products = table("produtos", {{"CDPRODUTO", ecf::FieldType::Text, 0},
                                             {"NMPRODUTO", ecf::FieldType::Text, 0},
                                             {"QTPRODVEND", ecf::FieldType::Real, 0},
                                             {"VRTOTAL", ecf::FieldType::Real, 0},
                                             {"VRACRE", ecf::FieldType::Real, 0},
                                             {"VRDESC", ecf::FieldType::Real, 0},
                                             {"IDTPIMPOSFIS", ecf::FieldType::Text, 1},
                                             {"VRPEALIMPFIS", ecf::FieldType::Real, 0}});
  for (const SoldRow& row : rows) {
    products.append();
    products.setValue("CDPRODUTO", row.code);
    products.setValue("NMPRODUTO", row.name);
    products.setValue("QTPRODVEND", row.quantity);
    products.setValue("VRTOTAL", row.total);
    products.setValue("VRACRE", 0.0);
    products.setValue("VRDESC", 0.0);
    products.setValue("IDTPIMPOSFIS", "T");
    products.setValue("VRPEALIMPFIS", 18.0);
    products.post();
  }
  return products;
}

inline ecf::Dataset paymentTypeTable() {
  ecf::Dataset types = table("tipos", {{"CDTIPORECE", ecf::FieldType::Text, 3},
                                       {"NMTIPORECE", ecf::FieldType::Text, 40}});
  types.append();
  types.setValue("CDTIPORECE", "001");
  types.setValue("NMTIPORECE", "DINHEIRO");
  types.post();
  return types;
}

// GeraReciboSangria's arguments, with a host's usual values: a shift closing with the
// receipt, the envelope column, the plain product list, the Z reduction allowed.
struct ClosingCall {
  std::string coo;
  ecf::Dataset envelopes = envelopeTable({{"000101", "Dinheiro", 350, 340}});
  ecf::Dataset withdrawals{"sangrias"};
  ecf::Dataset shiftProducts = soldTable({});
  ecf::Dataset people = peopleTable("12", "Carlos Pereira", "7", "Ana Souza");
  ecf::Dataset dayMovements = movementTable({});
  ecf::Dataset shiftMovements = movementTable({});
  ecf::Dataset dayProducts = soldTable({});
  ecf::Dataset paymentTypes = paymentTypeTable();
  bool printReceipt = true;
  bool reductionAllowed1 = true;
  bool reductionAllowed2 = true;
  ecf::Dataset zDay{"zDia"};
  ecf::Dataset zPayments{"zPagamentos"};
  ecf::Dataset zTaxes{"zImpostos"};
  ecf::Dataset zNonFiscal{"zNaoFiscais"};
  bool zSaved = true;  // the operation must clear it
  std::string productConfirmation = "N";
  std::string productLayout = "N";
  std::string xReading = "N";
  std::string envelopeColumn = "S";
  std::string scheme = "azul";
  bool withdrawalOnly = false;
  bool reprint = false;
  std::string motive;
  std::string observation;

  bool run() {
    return GeraReciboSangria("", "", "", "", "0001", 0, coo, envelopes, withdrawals,
                             shiftProducts, people, dayMovements, shiftMovements, dayProducts,
                             ecf::DateTime(), printReceipt, reductionAllowed1, false, zDay,
                             zPayments, zTaxes, zNonFiscal, zSaved, paymentTypes,
                             productConfirmation, productLayout, xReading, envelopeColumn, scheme,
                             withdrawalOnly, reprint, reductionAllowed2, motive, observation);
  }
};

class CashClosingTest : public NonFiscalTest {
 protected:
  std::vector<std::string> questions() {
    std::vector<std::string> asked;
    for (const ecf::OperatorMessage& message : op().messages()) {
      if (message.letter2 == "S") asked.push_back(message.text);
    }
    return asked;
  }
};

inline const std::string kOpenCash = "Deseja abrir o caixa?";
inline const std::string kConfirmReduction = "Confirma impressão da redução z?";
inline const std::string kConfirmClosingReports =
    "Confirma impressão dos relatórios de fechamento?";

}  // namespace ecftest
