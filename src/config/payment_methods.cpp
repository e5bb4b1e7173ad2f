// The printer's payment methods reconciled with the host's payment types: each type
// learns the printer's name of its method, and the methods the printer lacks are
// programmed into its first free codes.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "base/utf8.h"
#include "driver/command.h"
#include "driver/debug_log.h"
#include "driver/registers.h"
#include "ecf/module.h"
#include "host/datamodule.h"
#include "host/export_guard.h"
#include "host/hostlib.h"
#include "host/module_env.h"

namespace ecf {
namespace {

constexpr int kTableSize = 15;
constexpr int kNameWidth = 16;  // a payment method's name on the printer
constexpr const char* kCashCode = "-2";  // the cash method every printer has
constexpr std::size_t kCodePrefix = 24;  // "CodMeioPagamentoProgram="

// Only these rows of the host's payment types stand for a payment button.
constexpr const char* kPaymentButtons = "IDTPBUTTON = '5'";
// Working-copy rows that carry a printer mark another type of the same name can share.
constexpr const char* kMarkedRows = "CDFPIMPFIS <> ' ' AND CDFPIMPFIS <> ''";

constexpr std::array<const char*, 8> kHostFields{"IDTPBUTTON",  "IDTIPORECE", "IDMOSTRARECE",
                                                 "DSIMPFISCAL", "NMTIPORECE", "CDFPIMPFIS",
                                                 "IDEMIVALE",   "CDTIPORECE"};

struct PrinterMethod {
  std::string code;
  std::string name;  // trimmed, at most 16 characters
};

// A name programmed during this call, found again by its upper-case key.
struct DefinedName {
  std::string key;
  std::string name;
};

// The method in an answer such as
//   CodMeioPagamentoProgram=3 DescricaoMeioPagamento="" NomeMeioPagamento="Cheque" PermiteVinculado=N
PrinterMethod parseMethod(const std::string& returned) {
  PrinterMethod method;
  const std::size_t description = returned.find("DescricaoMeioPagamento=");
  if (description != std::string::npos && description > kCodePrefix) {
    method.code = Trim(std::string_view(returned).substr(kCodePrefix, description - kCodePrefix));
  }
  method.name = RTrim(charSubstr(
      Trim(quotedValueBefore(returned, "NomeMeioPagamento=", "PermiteVinculado=")), 0,
      kNameWidth));
  return method;
}

bool readMethod(const std::string& code, const std::string& scheme, PrinterMethod& method) {
  const Command read{"LeMeioPagamento",
                     {{"CodMeioPagamentoProgram", code, PARAMETRO_UINT},
                      {"NomeMeioPagamento", "", PARAMETRO_STRING}}};
  std::string returned;
  if (!runQuery(read,
                executedLine("LeMeioPagamento - NomeMeioPagamento - CodMeioPagamentoProgram - " +
                             code),
                scheme, false, returned)) {
    return false;
  }
  method = parseMethod(returned);
  return true;
}

// The cash method, then codes 0 upward up to the first the printer refuses to read,
// which is the first free code.
std::vector<PrinterMethod> readPrinterMethods(const std::string& scheme, int& freeCode) {
  std::vector<PrinterMethod> methods;
  PrinterMethod method;
  if (readMethod(kCashCode, scheme, method)) methods.push_back(method);
  freeCode = kTableSize;
  for (int code = 0; code < kTableSize; ++code) {
    if (!readMethod(std::to_string(code), scheme, method)) {
      freeCode = code;
      break;
    }
    methods.push_back(method);
  }
  return methods;
}

// The table as the log shows it: per method its code in two characters and its name in 16.
std::string methodList(const std::vector<PrinterMethod>& methods) {
  std::string list;
  for (const PrinterMethod& method : methods) {
    list += method.code + (charCount(method.code) < 2 ? " " : "") + TamFixo(method.name, kNameWidth);
  }
  return list;
}

// The printer method whose name begins with the key (upper case), one method at a time.
const PrinterMethod* findMethod(const std::vector<PrinterMethod>& methods, const std::string& key) {
  for (const PrinterMethod& method : methods) {
    if (upperCase(method.name).starts_with(key)) return &method;
  }
  return nullptr;
}

const DefinedName* findDefined(const std::vector<DefinedName>& defined, const std::string& key) {
  for (const DefinedName& name : defined) {
    if (name.key == key) return &name;
  }
  return nullptr;
}

bool defineMethod(int code, const std::string& name, const std::string& scheme) {
  const Command define{"DefineMeioPagamento",
                       {{"CodMeioPagamentoProgram", std::to_string(code), PARAMETRO_UINT},
                        {"DescricaoMeioPagamento", "", PARAMETRO_STRING},
                        {"NomeMeioPagamento", name, PARAMETRO_STRING},
                        {"PermiteVinculado", "Y", PARAMETRO_INDICADOR}}};
  return runCommand(define, executedLine("DefineMeioPagamento - " + name + "Y"), scheme, false);
}

class Reconciliation {
 public:
  Reconciliation(Dataset& host, Dataset& working, const std::string& scheme)
      : host_(host), working_(working), scheme_(scheme) {}

  void run() {
    methods_ = readPrinterMethods(scheme_, freeCode_);
    writeDebugLine("Retorno da Impressora : " + methodList(methods_));
    while (!host_.eof()) {
      reconcileRow();
      host_.next();
      moduleEnv().processMessages();
    }
    ensureReportMethod();
  }

 private:
  void reconcileRow() {
    if (host_.asText("IDTIPORECE") == "B") return;
    const std::string shown = host_.asText("IDMOSTRARECE");
    if (shown != "S" && !EmptyString(shown)) return;

    const std::string name = charSubstr(host_.asText("DSIMPFISCAL"), 0, kNameWidth);
    const std::string key = upperCase(RTrim(name));
    // A type without a fiscal name cannot be told apart from any method.
    if (key.empty()) {
      writeDebugLine("Tipo de recebimento " + host_.asText("CDTIPORECE") + " sem nome fiscal");
      return;
    }
    if (const PrinterMethod* method = findMethod(methods_, key)) {
      recordPresent(method->name);
    } else if (const DefinedName* defined = findDefined(defined_, key)) {
      recordPresent(defined->name);
    } else if (defineMethod(freeCode_, name, scheme_)) {
      ++freeCode_;
      defined_.push_back({key, RTrim(name)});
      recordDefined(RTrim(name));
    }
  }

  std::string voucherFlag() const { return host_.asText("IDTIPORECE") == "4" ? "N" : "S"; }

  void recordPresent(const std::string& printerName) {
    const std::string voucher = voucherFlag();
    working_.setFilter(kMarkedRows);
    working_.setFiltered(true);
    // A type shares the printer mark of a type of the same fiscal name, or gets its own.
    if (working_.locate("DSIMPFISCAL", host_.value("DSIMPFISCAL"), true)) {
      const Variant mark = working_.value("CDFPIMPFIS");
      updateHostRow(printerName, mark, voucher);
    } else {
      updateHostRow(printerName, "S", voucher);
      clearWorkingMark(printerName, voucher);
    }
    working_.setFiltered(false);
  }

  void recordDefined(const std::string& definedName) {
    const std::string voucher = voucherFlag();
    updateHostRow(definedName, "S", voucher);
    clearWorkingMark(std::nullopt, voucher);
  }

  void updateHostRow(const std::string& printerName, const Variant& mark,
                     const std::string& voucher) {
    host_.edit();
    host_.setValue("NMTIPORECE", printerName);
    host_.setValue("CDFPIMPFIS", mark);
    host_.setValue("IDEMIVALE", voucher);
    host_.post();
  }

  void clearWorkingMark(const std::optional<std::string>& printerName,
                        const std::string& voucher) {
    if (!working_.locate("CDTIPORECE", host_.value("CDTIPORECE"), true)) return;
    working_.edit();
    if (printerName) working_.setValue("NMTIPORECE", *printerName);
    working_.setValue("CDFPIMPFIS", "");
    working_.setValue("IDEMIVALE", voucher);
    working_.post();
  }

  // Management reports are paid under a method of their own.
  void ensureReportMethod() {
    const std::string name = charSubstr(msgPadrao("RelGerencial"), 0, kNameWidth);
    const std::string key = upperCase(RTrim(name));
    if (findMethod(methods_, key) != nullptr || findDefined(defined_, key) != nullptr) return;
    defineMethod(freeCode_, name, scheme_);
  }

  Dataset& host_;
  Dataset& working_;
  const std::string& scheme_;
  std::vector<PrinterMethod> methods_;
  std::vector<DefinedName> defined_;
  int freeCode_ = 0;
};

// Every field the reconciliation reads or writes, checked before anything is sent or
// changed, so a host table of another layout is refused whole with a plain message.
void checkHostFields(const Dataset& paymentTypes) {
  for (const char* field : kHostFields) {
    if (!paymentTypes.hasField(field)) {
      throw DatasetError(msgPadrao("FormasPgto_TiposSemCampo", {field}));
    }
  }
}

}  // namespace
}  // namespace ecf

extern "C" {

ECF_API void CarregaRecebimento(const std::string& /*unused1*/, const std::string& scheme,
                                std::int32_t /*unused3*/, ecf::Dataset& paymentTypes) {
  ecf::guardedVoid("CarregaRecebimento", scheme, [&] {
    ecf::checkHostFields(paymentTypes);
    ecf::Dataset& working = ecf::dataModule().cdsReceb;
    working.setFiltered(false);
    working.setData(paymentTypes.data());
    paymentTypes.setFilter(ecf::kPaymentButtons);
    paymentTypes.setFiltered(true);
    paymentTypes.first();
    ecf::Reconciliation(paymentTypes, working, scheme).run();
  });
}

ECF_API bool Config_FormaPg(const std::string& scheme, const std::string& name, bool /*flag1*/,
                            bool /*flag2*/) {
  return ecf::guarded("Config_FormaPg", scheme, false, [&] {
    const std::string printerName = ecf::charSubstr(name, 0, ecf::kNameWidth);
    const ecf::Command define{"DefineMeioPagamento",
                              {{"CodMeioPagamentoProgram", "", PARAMETRO_UINT},
                               {"DescricaoMeioPagamento", "", PARAMETRO_STRING},
                               {"NomeMeioPagamento", printerName, PARAMETRO_STRING},
                               {"PermiteVinculado", "Y", PARAMETRO_INDICADOR}}};
    return ecf::runCommand(
        define, ecf::executedLine("DefineMeioPagamento : " + printerName + "Y"), scheme, false);
  });
}

}  // extern "C"
