// The printer's memory is checked field by field when it is read, and its counters and
// totals stop at their limits instead of wrapping round.
#include "core/state_limits.h"

#include <climits>
#include <fstream>
#include <regex>
#include <set>

#include "core/printer.h"
#include "core/state_json.h"
#include "core/state_ranges.h"
#include "core/state_store.h"
#include "sim_fixture.h"

namespace simtest {
namespace {

using nlohmann::json;

// A state with one of everything the file can hold, so every numeric field appears.
json populatedState() {
  ecfsim::PrinterState state = ecfsim::newPrinterState();
  ecfsim::Document doc;
  doc.kind = ecfsim::DocKind::Fiscal;
  doc.items.push_back(ecfsim::Item{1, "1", "Café", "UN", 1000, 4000, 400, 0, false});
  doc.payments.push_back(ecfsim::Payment{-2, 400, "", 0});
  doc.nonFiscalItems.push_back(ecfsim::NonFiscalItem{0, 100, true});
  state.open = doc;
  state.lastFiscal = doc;
  state.fiscalMemory.push_back(ecfsim::ZRecord{1, 1, 3, 1, {}, "", 400, {}});
  state.conditions.faults.push_back(ecfsim::Fault{});
  return ecfsim::stateToJson(state);
}

class StateLimits : public SimTest {
 protected:
  // Writes `state` as the printer's memory (its channel closed) and opens it; "" when it
  // opens, else why not.
  std::string openWith(const json& state) { return openWithText(state.dump()); }
  std::string openWithText(const std::string& text) {
    if (channel_ > 0) dll().EncerraDriver(channel_);
    channel_ = -1;
    std::ofstream(directory() / "state.json", std::ios::binary | std::ios::trunc) << text;
    try {
      ecfsim::Printer::open(directory());
    } catch (const ecfsim::OpenError& error) {
      return error.what();
    }
    return "";
  }
  // The port's directory as the printer names it (on Windows "COM1" names a device).
  std::filesystem::path directory() { return root_ / ecfsim::sanitizePortName(kPort); }
};

// Each value, planted in an otherwise sound state file, makes it unreadable, and the
// message names the file and the field. The printer never starts from a lie.
TEST_F(StateLimits, EveryFieldOutOfItsRangeMakesTheStateUnreadableNamingIt) {
  const struct {
    const char* pointer;
    json value;
    const char* named;
  } cases[] = {
      {"/counters/coo", 4294967301LL, "counters.coo: 4294967301 fora da faixa de 0 a 999999"},
      {"/counters/coo", INT_MAX, "counters.coo"},
      {"/counters/crz", -1, "counters.crz: -1 fora da faixa"},
      {"/counters/cro", 0, "counters.cro"},
      {"/grandTotal", 1e19, "grandTotal: 1e+19 não é um número inteiro"},
      {"/grandTotal", 10000000000000000000ULL, "grandTotal: 10000000000000000000 fora"},
      {"/grandTotal", -1, "grandTotal"},
      {"/totals/rateSales/3", 100'000'000'000'000LL, "totals.rateSales[3]"},
      {"/conditions/clock/offsetSeconds", 9'000'000'000'000'000'000LL,
       "conditions.clock.offsetSeconds"},
      {"/conditions/clock/fixedSeconds", -9'000'000'000'000'000'000LL,
       "conditions.clock.fixedSeconds"},
      {"/conditions/faults/0/remaining", INT_MIN, "conditions.faults[0].remaining"},
      {"/conditions/drawerOpenings", INT_MAX, "conditions.drawerOpenings"},
      {"/open/items/0/quantity", 100'000'000'000LL, "open.items[0].quantity"},
      {"/open/items/0/taxCode", 16, "open.items[0].taxCode"},
      // Left out, a field takes its default, here out of range: it would not read back.
      {"/open/items/0", json::object(), "open.items[0].number: 0 fora da faixa"},
      {"/lastFiscal/payments/0/method", 15, "lastFiscal.payments[0].method"},
      {"/fiscalMemory/0/crz", 10'000, "fiscalMemory[0].crz"},
      {"/fiscalMemory/0/totals/methods/0", -100'000'000'000'000LL,
       "fiscalMemory[0].totals.methods[0]"},
      {"/day/openDate/month", 13, "day.openDate.month"},
      {"/identity/ecfNumber", 0, "identity.ecfNumber"},
      {"/tables/taxRates/0/percent", 10'000, "tables.taxRates[0].percent"},
      {"/tapeBytes", -5, "tapeBytes"},
      {"/format", 2, "format"},
      {"/counters/gnf", "12", "counters.gnf: \"12\" não é um número inteiro"},
  };
  ASSERT_EQ(openWith(populatedState()), "") << "the sound state opens";
  for (const auto& c : cases) {
    json state = populatedState();
    state[json::json_pointer(c.pointer)] = c.value;
    const std::string error = openWith(state);
    EXPECT_NE(error.find("state.json: campo "), std::string::npos) << c.pointer << ": " << error;
    EXPECT_NE(error.find(c.named), std::string::npos) << c.pointer << ": " << error;
  }
  // Unknown keys are ignored, but not a nesting that would exhaust the stack.
  const std::string deep =
      "{\"extra\": " + std::string(100'000, '[') + std::string(100'000, ']') + "}";
  EXPECT_NE(openWithText(deep).find("extra[0][0]"), std::string::npos);
  EXPECT_NE(openWithText(deep).find("aninhada demais"), std::string::npos);
  // And through the driver: the channel is refused rather than a new printer started.
  openWith(json{{"counters", {{"coo", 4294967301LL}}}});
  EXPECT_LT(dll().IniciaDriver(kPort), 0);
}

// A new numeric field must declare its range: this lists any that does not.
TEST(StateRanges, EveryNumericFieldOfTheStateDeclaresItsRange) {
  std::set<std::string> declared;
  for (const ecfsim::FieldRange& range : ecfsim::stateFieldRanges()) declared.insert(range.path);
  std::set<std::string> missing;
  const std::regex index(R"(/\d+)");
  const json flat = populatedState().flatten();
  for (const auto& [pointer, value] : flat.items()) {
    if (!value.is_number()) continue;
    std::string path = std::regex_replace(pointer, index, "[]");
    std::replace(path.begin(), path.end(), '/', '.');
    path.erase(0, 1);
    if (declared.count(path) == 0) missing.insert(path);
  }
  EXPECT_TRUE(missing.empty()) << "no range for " << json(missing).dump();
  // The safety net for a field that forgot: a number the loader narrows is refused.
  EXPECT_THROW(
      ecfsim::checkLoadedExactly(json{{"x", {{"n", 4294967301LL}}}}, json{{"x", {{"n", 5}}}}),
      ecfsim::StateRangeError);
}

// A counter at its limit is a printer error, as on a real ECF: the document is refused,
// nothing printed, nothing counted. The grand total and the clock stop the same way.
TEST_F(StateLimits, ACounterOrTotalAtItsLimitRefusesTheCommandAndKeepsEverything) {
  json state = populatedState();
  const json fresh = ecfsim::stateToJson(ecfsim::newPrinterState());
  state["open"] = fresh["open"];
  state["conditions"] = fresh["conditions"];
  state["counters"]["coo"] = 999'999;
  ASSERT_EQ(openWith(state), "");
  channel_ = dll().IniciaDriver(kPort);
  ASSERT_GT(channel_, 0);
  const std::string tapeBefore = tape();
  const Answer refused = send("AbreCupomFiscal");
  EXPECT_EQ(refused.code, 13);
  EXPECT_EQ(refused.name, "LimiteEsgotado");
  EXPECT_EQ(refused.circumstance, "O contador COO chegou ao limite (999999).");
  EXPECT_EQ(readInteger("COO"), "999999");
  EXPECT_EQ(readInteger("EstadoFiscal"), "1");
  EXPECT_EQ(tape(), tapeBefore);

  state["counters"]["coo"] = 5;
  state["grandTotal"] = ecfsim::kMaxGrandTotal - 100;
  ASSERT_EQ(openWith(state), "");
  channel_ = dll().IniciaDriver(kPort);
  ASSERT_GT(channel_, 0);
  openReceipt();
  EXPECT_EQ(sell("1", "Café", "0", "2,00", "1").code, 13);
  EXPECT_EQ(readInteger("NumeroItens"), "0");
  EXPECT_EQ(sell("1", "Café", "0", "1,00", "1").code, 0) << "up to the limit is fine";
  EXPECT_EQ(readMoney("GT"), "9999999999999999,99");

  // Moving the clock by a century at a time stops before its offset would overflow.
  ASSERT_EQ(ecfsim_set_clock(kPort, ""), 0);
  ASSERT_EQ(ecfsim_move_clock(kPort, 3'153'600'000), 0);
  ASSERT_EQ(ecfsim_move_clock(kPort, 3'153'600'000), 0);
  EXPECT_EQ(ecfsim_move_clock(kPort, 3'153'600'000), -3);
}

}  // namespace
}  // namespace simtest
