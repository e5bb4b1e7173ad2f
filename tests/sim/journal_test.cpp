// The journal of changes kept between two documents' ends: what it holds reads back to
// the very same memory, a line cut off by a kill is dropped with its command's printing,
// a damaged line stops the printer from opening, and a journal written on top of an
// older state file is ignored.
#include <algorithm>
#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "core/item_list.h"
#include "core/state_json.h"
#include "sim_fixture.h"

namespace simtest {
namespace {

class Journal : public SimTest {
 protected:
  void SetUp() override {
    SimTest::SetUp();
    // Asked while the channel is open: asking a closed printer opens it for the moment,
    // which writes its state whole and starts its journal over.
    directory_ = directory();
  }
  std::filesystem::path journalPath() { return directory_ / "journal.jsonl"; }
  std::string journal() {
    std::ifstream in(journalPath(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  void writeJournal(const std::string& text) {
    std::ofstream out(journalPath(), std::ios::binary | std::ios::trunc);
    out << text;
  }
  // The state as the printer tells it, without what only names where it lives.
  std::string memory() {
    nlohmann::json json = nlohmann::json::parse(state());
    json.erase("derived");
    return json.dump();
  }
  std::filesystem::path directory_;
};

TEST_F(Journal, WhatItHoldsReadsBackToTheSameMemoryAfterEveryKindOfChange) {
  ASSERT_EQ(send("DefineNaoFiscal", {{"NomeNaoFiscal", "Suprimento", kText}}).code, 0);
  openReceipt();
  // Past the first blocks of items, then a change far back in the receipt.
  for (int item = 1; item <= 70; ++item) {
    ASSERT_EQ(sell(std::to_string(item), "Item " + std::to_string(item), "0", "1.25", "2").code, 0);
  }
  struct Step {
    const char* command;
    std::vector<P> params;
  };
  const std::vector<Step> steps = {
      {"CancelaItemFiscal", {{"NumItem", "3", kUInt}}},
      {"CancelaItemFiscal", {{"NumItem", "40", kUInt}}},
      {"AcresceSubtotal", {{"ValorAcrescimo", "-1.50", kMoney}}},
      {"PagaCupom", {{"NomeMeioPagamento", "Dinheiro", kText}, {"Valor", "50.00", kMoney}}},
  };
  for (const Step& step : steps) {
    ASSERT_EQ(send(step.command, step.params).code, 0) << step.command;
    const std::string live = memory();
    EXPECT_NE(journal(), "") << step.command;  // what changed since is in the journal
    reopen();
    EXPECT_EQ(memory(), live) << "after " << step.command;
  }
}

TEST_F(Journal, ALineCutOffByAKillIsDroppedWithItsPrinting) {
  openReceipt();
  ASSERT_EQ(sell("1", "Cafe", "0", "3.00", "1").code, 0);
  const std::string memoryBefore = memory();
  const std::string tapeBefore = tape();
  const std::string journalBefore = journal();
  ASSERT_EQ(sell("2", "Bolo de fuba", "0", "4.00", "1").code, 0);
  const std::string whole = journal();
  ASSERT_GT(whole.size(), journalBefore.size() + 2);
  ASSERT_EQ(dll().EncerraDriver(channel_), 0);
  // The kill came in the middle of the line: part of it reached the file.
  writeJournal(whole.substr(0, journalBefore.size() + (whole.size() - journalBefore.size()) / 2));
  channel_ = dll().IniciaDriver(kPort);
  ASSERT_GT(channel_, 0);
  EXPECT_EQ(memory(), memoryBefore);
  EXPECT_EQ(tape(), tapeBefore);
  EXPECT_EQ(readInteger("NumeroItens"), "1");
  // The printer goes on from there.
  ASSERT_EQ(sell("2", "Pao", "0", "1.00", "1").code, 0);
  reopen();
  EXPECT_EQ(readInteger("NumeroItens"), "2");
}

TEST_F(Journal, ADamagedLineStopsThePrinterFromOpeningAndAnOlderOneIsIgnored) {
  openReceipt();
  ASSERT_EQ(sell("1", "Cafe", "0", "3.00", "1").code, 0);
  ASSERT_EQ(sell("2", "Bolo", "0", "4.00", "1").code, 0);
  const std::string whole = journal();
  const std::string header = whole.substr(0, whole.find('\n') + 1);
  ASSERT_EQ(dll().EncerraDriver(channel_), 0);

  struct Case {
    std::string journal;
    bool opens;
    const char* items;  // NumeroItens once opened
  };
  const std::vector<Case> cases = {
      {header + "{\"items\":{\"from\":5,\"list\":[]}}\n", false, ""},  // past the receipt's end
      {header + "not json\n", false, ""},
      {header + "{\"set\":{\"counters\":{\"coo\":-1}}}\n", false, ""},  // out of its range
      // Another state file's journal, or none at all: the state file alone.
      {"{\"continues\":\"0000000000000000\",\"journal\":1}\n" + whole.substr(header.size()), true,
       "0"},
      {"", true, "0"},
  };
  const std::filesystem::path state = directory_ / "state.json";
  std::string stateText;
  {
    std::ifstream in(state, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    stateText = text.str();
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.journal);
    {
      std::ofstream out(state, std::ios::binary | std::ios::trunc);
      out << stateText;
    }
    writeJournal(c.journal);
    channel_ = dll().IniciaDriver(kPort);
    if (!c.opens) {
      EXPECT_LT(channel_, 0);
      continue;
    }
    ASSERT_GT(channel_, 0);
    EXPECT_EQ(readInteger("NumeroItens"), c.items);
    ASSERT_EQ(dll().EncerraDriver(channel_), 0);
  }
  channel_ = -1;
}

// Every field of the state file travels in a change: a field missing from the list would
// be lost by every command between two documents' ends.
TEST(StateChange, CarriesEveryFieldOfTheState) {
  const nlohmann::json state = ecfsim::stateToJson(ecfsim::newPrinterState());
  std::vector<std::string> stateKeys;
  for (const auto& [key, value] : state.items()) stateKeys.push_back(key);
  std::vector<std::string> carried = ecfsim::stateChangeFields();
  std::sort(carried.begin(), carried.end());
  EXPECT_EQ(carried, stateKeys);
}

ecfsim::Item numbered(int number) {
  ecfsim::Item item;
  item.number = number;
  item.code = std::to_string(number);
  return item;
}

TEST(ItemListSharing, ACopyChangesOnlyItselfAndTellsWhereItDiffers) {
  ecfsim::ItemList original;
  for (int n = 1; n <= 70; ++n) original.push_back(numbered(n));
  ecfsim::ItemList copy = original;
  EXPECT_EQ(copy.firstDifference(original), 70u);
  copy[40].cancelled = true;
  copy.push_back(numbered(71));
  EXPECT_FALSE(original[40].cancelled);
  EXPECT_EQ(original.size(), 70u);
  EXPECT_EQ(original.firstDifference(copy), 40u);
  EXPECT_EQ(copy.firstDifference(original), 40u);
  EXPECT_FALSE(copy == original);
  copy[40].cancelled = false;
  EXPECT_EQ(copy.firstDifference(original), 70u);  // equal up to the original's end
}

}  // namespace
}  // namespace simtest
