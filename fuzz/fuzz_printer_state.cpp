// The virtual printer's memory as read from its state file and the journal of changes on
// top of it, then a working day of commands: a state is refused as unreadable, or every
// command is carried out or refused, and what the printer keeps reads back.
// The input is the state file's text, optionally followed by a NUL and the journal's
// lines (written after the header that ties them to that state file).
#include <unistd.h>

#include <cstddef>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/printer.h"
#include "core/state_journal.h"

namespace {

using ecfsim::Param;
constexpr int kText = ecfsim::kTexto, kMoney = ecfsim::kMoeda, kUInt = ecfsim::kInteiroSemSinal;

struct Step {
  const char* command;
  std::vector<Param> params;
};

const std::vector<Step>& workingDay() {
  static const std::vector<Step> day = {
      {"LeInteiro", {{"NomeInteiro", "COO", kText}}},
      {"LeMoeda", {{"NomeDadoMonetario", "GT", kText}}},
      {"DefineNaoFiscal", {{"NomeNaoFiscal", "Suprimento", kText}}},
      {"DefineMeioPagamento",
       {{"NomeMeioPagamento", "Cartão", kText}, {"PermiteVinculado", "S", ecfsim::kIndicador}}},
      {"AbreCupomFiscal", {{"IdConsumidor", "529.982.247-25", kText}}},
      {"VendaDeItem",
       {{"CodAliquota", "0", kUInt},
        {"CodProduto", "1", kText},
        {"NomeProduto", "Pão de queijo", kText},
        {"PrecoUnitario", "3,50", kMoney},
        {"Quantidade", "2", kMoney}}},
      {"VendaDeItem",
       {{"CodAliquota", "-3", kUInt},
        {"CodProduto", "2", kText},
        {"NomeProduto", "Água", kText},
        {"PrecoUnitario", "2,00", kMoney},
        {"Quantidade", "1", kMoney}}},
      {"CancelaItemFiscal", {{"NumItem", "2", kUInt}}},
      {"AcresceSubtotal", {{"ValorAcrescimo", "-0,50", kMoney}}},
      {"PagaCupom", {{"NomeMeioPagamento", "Cartão", kText}, {"Valor", "5,00", kMoney}}},
      {"PagaCupom", {{"CodMeioPagamento", "-2", kUInt}, {"Valor", "10,00", kMoney}}},
      {"EncerraDocumento", {{"Operador", "Maria", kText}}},
      {"AbreCreditoDebito",
       {{"NomeMeioPagamento", "Cartão", kText}, {"Valor", "5,00", kMoney}, {"COO", "1", kUInt}}},
      {"ImprimeTexto", {{"TextoLivre", "Via do cliente", kText}}},
      {"EncerraDocumento", {}},
      {"EmiteItemNaoFiscal", {{"CodNaoFiscal", "0", kUInt}, {"Valor", "150,00", kMoney}}},
      {"PagaCupom", {{"CodMeioPagamento", "-2", kUInt}, {"Valor", "150,00", kMoney}}},
      {"EncerraDocumento", {}},
      {"AbreGerencial", {}},
      {"ImprimeTexto", {{"TextoLivre", "Relatório\nde teste", kText}}},
      {"EncerraDocumento", {}},
      {"CancelaCupom", {}},
      {"AbreGaveta", {}},
      {"EmiteLeituraX", {}},
      {"EmiteReducaoZ", {}},
      {"EmiteLeituraFitaDetalhe", {{"COOInicial", "1", kUInt}, {"COOFinal", "20", kUInt}}},
      {"AcertaHorarioVerao", {{"EntradaHV", "S", ecfsim::kIndicador}}},
  };
  return day;
}

// A directory of this process on a memory file system when there is one (every command
// flushes the state to the disk), removed when the fuzzer ends.
struct WorkDirectory {
  WorkDirectory() {
    const std::filesystem::path base = std::filesystem::is_directory("/dev/shm")
                                           ? "/dev/shm"
                                           : std::filesystem::temp_directory_path();
    path = base / ("ecf-fuzz-printer-" + std::to_string(::getpid()));
  }
  ~WorkDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
  std::filesystem::path path;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const WorkDirectory work;
  const std::filesystem::path& directory = work.path;
  std::error_code ignored;
  std::filesystem::remove_all(directory, ignored);
  std::filesystem::create_directories(directory);
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::size_t split = input.find('\0');
  const std::string stateText = input.substr(0, split);
  {
    std::ofstream state(directory / "state.json", std::ios::binary);
    state << stateText;
  }
  if (split != std::string::npos) {
    std::ofstream journal(directory / "journal.jsonl", std::ios::binary);
    journal << ecfsim::journalHeader(stateText) << input.substr(split + 1);
  }
  std::unique_ptr<ecfsim::Printer> printer;
  try {
    printer = ecfsim::Printer::open(directory);
  } catch (const ecfsim::OpenError&) {
    return 0;
  }
  for (const Step& step : workingDay()) printer->execute(step.command, step.params);
  printer->describe();
  // Whatever the day left in the memory must open again: no command may take a field
  // out of the range the state file is checked against.
  printer.reset();
  try {
    ecfsim::Printer::open(directory);
  } catch (const ecfsim::OpenError& e) {
    std::fprintf(stderr, "the day's memory does not open again: %s\n", e.what());
    __builtin_trap();
  }
  return 0;
}
