// The printer's non-fiscal totalizers: which code carries each of the seven the system
// registers money under, programming the missing ones into the first free codes.
#include <array>
#include <string>
#include <vector>

#include "base/utf8.h"
#include "config/table_answers.h"
#include "driver/command.h"
#include "driver/debug_log.h"
#include "driver/registers.h"
#include "ecf/module.h"
#include "host/datamodule.h"
#include "host/export_guard.h"
#include "host/hostlib.h"

namespace ecf {
namespace {

constexpr int kTableSize = 15;

enum Role { kSupply, kWithdrawal, kChangeVoucher, kCreditPurchase, kReport, kConsumerSale,
            kCreditCancel, kRoleCount };

struct RoleDefinition {
  Role role;
  const char* matchKey;   // catalogue key of the name looked for on the printer
  const char* defineKey;  // catalogue key of the name programmed when missing
  const char* kind;       // TipoNaoFiscal: "f" for money leaving the drawer
};

// In the order the missing ones are programmed.
constexpr std::array<RoleDefinition, kRoleCount> kDefinitionOrder{{
    {kSupply, "Suprimento", "Suprimento", "t"},
    {kWithdrawal, "Sangria", "Sangria", "f"},
    {kChangeVoucher, "CV-EMITIDO", "CV-EMITIDO", "f"},
    {kCreditPurchase, "Compra-Cred", "Compra-Cred", "t"},
    {kReport, "RELATORIO", "Relatorio", "t"},
    {kConsumerSale, "VENDA-CONS", "VENDA-CONS", "t"},
    {kCreditCancel, "Canc-Cred", "Canc-Cred", "t"},
}};

using RoleIds = std::array<std::string, kRoleCount>;

// The names of the printer's totalizers in code order, up to the first code it refuses
// to read (the first free one).
std::vector<std::string> readTotalizerNames(const std::string& scheme) {
  std::vector<std::string> names;
  for (int code = 0; code < kTableSize; ++code) {
    const std::string text = std::to_string(code);
    const Command read{"LeNaoFiscal",
                       {{"CodNaoFiscal", text, PARAMETRO_UINT},
                        {"NomeNaoFiscal", "", PARAMETRO_STRING}}};
    std::string returned;
    if (!runQuery(read, executedLine("LeNaoFiscal - CodNaoFiscal - " + text), scheme, false,
                  returned)) {
      break;
    }
    names.push_back(nonFiscalName(returned));
  }
  return names;
}

std::string twoDigits(int code) { return AjustaZero(std::to_string(code), 2); }

// Each role takes the code whose name equals its own exactly (case counts); when two
// codes carry the same name the higher one wins.
RoleIds matchRoles(const std::vector<std::string>& names) {
  RoleIds ids;
  for (std::size_t code = 0; code < names.size(); ++code) {
    for (const RoleDefinition& definition : kDefinitionOrder) {
      const std::string wanted =
          Trim(charSubstr(msgPadrao(definition.matchKey), 0, kNonFiscalNameWidth));
      if (names[code] == wanted) ids[definition.role] = twoDigits(static_cast<int>(code));
    }
  }
  return ids;
}

// Programs each missing role at the next free code. A refused definition leaves the role
// without a code, so no money is ever registered under another role's totalizer, and the
// next missing role is tried at the same code.
void defineMissingRoles(RoleIds& ids, int freeCode, const std::string& scheme) {
  for (const RoleDefinition& definition : kDefinitionOrder) {
    if (!ids[definition.role].empty()) continue;
    const std::string name = msgPadrao(definition.defineKey);
    const Command define{"DefineNaoFiscal",
                         {{"CodNaoFiscal", twoDigits(freeCode), PARAMETRO_UINT},
                          {"DescricaoNaoFiscal", "", PARAMETRO_STRING},
                          {"NomeNaoFiscal", charSubstr(name, 0, kNonFiscalNameWidth),
                           PARAMETRO_STRING},
                          {"TipoNaoFiscal", definition.kind, PARAMETRO_INDICADOR}}};
    const std::string line =
        executedLine("DefineNaoFiscal : " + std::to_string(freeCode) + " - " + name);
    if (runCommand(define, line, scheme, false)) {
      ids[definition.role] = twoDigits(freeCode);
      ++freeCode;
    }
  }
}

void publish(const RoleIds& ids) {
  idTotParcSuprimento = ids[kSupply];
  idTotParcSangria = ids[kWithdrawal];
  IdTotParcCV = ids[kChangeVoucher];
  IdTotCompCred = ids[kCreditPurchase];
  IdTotRelatorio = ids[kReport];
  IdTotParcVCons = ids[kConsumerSale];
  IdTotCancCred = ids[kCreditCancel];
}

}  // namespace
}  // namespace ecf

extern "C" {

ECF_API void CarregaTotalizador(std::string& changeVoucherId, std::string& consumerSaleId,
                                std::string& creditPurchaseId, std::string& creditCancelId,
                                std::string& /*unused5*/, const std::string& scheme,
                                std::int32_t /*unused7*/, ecf::Dataset& /*unused8*/) {
  ecf::guardedVoid("CarregaTotalizador", scheme, [&] {
    ecf::ensureDataModule();
    // Cleared first, so a call that fails half-way never leaves the previous call's codes.
    ecf::RoleIds ids;
    ecf::publish(ids);
    changeVoucherId.clear();
    consumerSaleId.clear();
    creditPurchaseId.clear();
    creditCancelId.clear();

    const std::vector<std::string> names = ecf::readTotalizerNames(scheme);
    std::string fields;
    for (const std::string& name : names) {
      fields += ecf::TamFixo(name, ecf::kNonFiscalNameWidth);
    }
    ecf::writeDebugLine("Retorno da Impressora : " + fields);

    ids = ecf::matchRoles(names);
    ecf::defineMissingRoles(ids, static_cast<int>(names.size()), scheme);
    ecf::publish(ids);
    changeVoucherId = ids[ecf::kChangeVoucher];
    consumerSaleId = ids[ecf::kConsumerSale];
    creditPurchaseId = ids[ecf::kCreditPurchase];
    creditCancelId = ids[ecf::kCreditCancel];
  });
}

ECF_API bool VerificaTotalizador() {
  return ecf::guarded("VerificaTotalizador", "", false,
                      [] { return !ecf::EmptyString(IdTotCompCred); });
}

// Part of the host interface; totalizers are named when they are programmed.
ECF_API bool Nomeia_TotParcial(const std::string& /*text1*/, const std::string& /*text2*/,
                               const std::string& /*text3*/, const std::string& /*text4*/,
                               bool /*flag1*/, bool /*flag2*/) {
  return false;
}

}  // extern "C"
