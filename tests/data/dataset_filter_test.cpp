// The filter language: exactly "=", "<>" and AND over quoted texts; anything else is refused.
#include <gtest/gtest.h>

#include "data/dataset_helpers.h"
#include "data/filter.h"

namespace ecf {
namespace {

using testing::column;
using testing::paymentDataset;
using Names = std::vector<std::string>;

TEST(DatasetFilter, EqualsNotEqualsAndAnd) {
  Dataset ds = paymentDataset();
  ds.setFilter("FORMA = 'Dinheiro'");
  ds.setFiltered(true);
  EXPECT_EQ(column(ds, "NOME"), (Names{"Ana", "D"}));

  ds.setFilter("FORMA <> 'Dinheiro'");
  EXPECT_EQ(column(ds, "NOME"), (Names{"D'Avila", "Bia", "Caio"}));

  // Keyword and field names in any letter case, spaces free around every token.
  ds.setFilter("  forma='Cartão'and   Tipo  <>  'A'  ");
  EXPECT_EQ(column(ds, "NOME"), (Names{"Caio"}));

  ds.setFilter("TIPO = 'B' AND FORMA <> 'Cheque' AND NOME <> 'D'");
  EXPECT_EQ(column(ds, "NOME"), (Names{"Caio"}));

  // The comparison is exact: letter case counts in the value.
  ds.setFilter("FORMA = 'dinheiro'");
  EXPECT_TRUE(ds.isEmpty());
  EXPECT_TRUE(ds.eof());
  EXPECT_TRUE(ds.bof());

  // A number field compares by its text form in the default settings.
  ds.setFilter("VALOR = '20,5'");
  EXPECT_EQ(column(ds, "NOME"), (Names{"D'Avila"}));

  ds.setFiltered(false);
  EXPECT_EQ(ds.recordCount(), 5);
}

TEST(DatasetFilter, DoubledQuoteStandsForOneQuote) {
  Dataset ds = paymentDataset();
  ds.setFilter("NOME = 'D''Avila'");
  ds.setFiltered(true);
  EXPECT_EQ(column(ds, "NOME"), (Names{"D'Avila"}));

  ds.setFilter("NOME <> 'D''Avila' AND NOME <> ''''");
  EXPECT_EQ(ds.recordCount(), 4);
}

TEST(DatasetFilter, NoSpaceIsNeededBetweenAQuotedTextAndAnd) {
  Dataset ds = paymentDataset();
  ds.setFilter("TIPO = 'B'AND FORMA = 'Cartão'");
  ds.setFiltered(true);
  EXPECT_EQ(column(ds, "NOME"), (Names{"Caio"}));
}

// Values built into filters from data: whatever they hold, each matches exactly the rows
// holding it, and never turns into another comparison or a broken filter.
TEST(DatasetFilter, QuotedValuesMatchThemselvesAndNothingElse) {
  Dataset ds("cdsItens");
  ds.setFieldDefs({{"NRSEQVENDA", FieldType::Text, 0}, {"CDFAMILISALD", FieldType::Text, 0}});
  ds.createDataSet();
  const std::vector<std::string> hostile{
      "D'Avila", "'", "''", "", "7' OR NRSEQVENDA <> '", "7'AND CDFAMILISALD <> 'x",
      "' AND CDFAMILISALD = '1", "açaí 'ó'"};
  for (const std::string& value : hostile) {
    testing::addRow(ds, {"NRSEQVENDA", "CDFAMILISALD"}, {value, "1"});
  }
  testing::addRow(ds, {"NRSEQVENDA", "CDFAMILISALD"}, {"7", "1"});
  testing::addRow(ds, {"NRSEQVENDA", "CDFAMILISALD"}, {"7", "x"});

  EXPECT_EQ(quoteFilterValue("D'Avila"), "'D''Avila'");
  EXPECT_EQ(quoteFilterValue(""), "''");
  for (const std::string& value : hostile) {
    SCOPED_TRACE(value);
    // The shape the statement's sale items use: no space before AND.
    ds.setFilter("NRSEQVENDA = " + quoteFilterValue(value) +
                 "AND CDFAMILISALD = " + quoteFilterValue("1"));
    ds.setFiltered(true);
    EXPECT_EQ(column(ds, "NRSEQVENDA"), (Names{value}));
    ds.setFilter("NRSEQVENDA <> " + quoteFilterValue(value));
    EXPECT_EQ(ds.recordCount(), static_cast<int>(hostile.size()) + 1);
    ds.setFiltered(false);
  }
}

TEST(DatasetFilter, EmptyTextShowsEveryRowAndTextIsCheckedWhenSwitchedOn) {
  Dataset ds = paymentDataset();
  ds.setFilter("   ");
  ds.setFiltered(true);
  EXPECT_EQ(ds.recordCount(), 5);

  ds.setFiltered(false);
  ds.setFilter("FORMA = Dinheiro");  // not checked while off
  EXPECT_EQ(ds.filter(), "FORMA = Dinheiro");
  EXPECT_THROW(ds.setFiltered(true), DatasetError);
  EXPECT_FALSE(ds.filtered());
  EXPECT_EQ(ds.recordCount(), 5);
}

TEST(DatasetFilter, BadTextsAreClearErrorsAndChangeNothing) {
  struct Case {
    const char* text;
    const char* expected;  // part of the message
  };
  const Case cases[] = {
      {"FORMA = 'Dinheiro' OR TIPO = 'B'", "esperado AND, encontrado \"OR"},
      {"FORMA = Dinheiro", "esperado um texto entre aspas"},
      {"FORMA = 'Dinheiro", "sem a aspa final"},
      {"XPTO = 'a'", "Campo 'XPTO' não encontrado em cdsReceb"},
      {"FORMA > 'a'", "esperado = ou <>"},
      {"FORMA = 'a' AND", "esperado um nome de campo, encontrado o fim do texto"},
      {"FORMA = 'a' )", "esperado AND"},
      {"= 'a'", "esperado um nome de campo"},
      {"FORMA == 'a'", "esperado um texto entre aspas"},
      {"FORMA = 'a' ANDTIPO = 'B'", "esperado AND"},
      {"FORMA = 'Cartão' OR TIPO = 'B'", "posição 18:"},  // counted in characters
  };
  Dataset ds = paymentDataset();
  ds.setFilter("TIPO = 'A'");
  ds.setFiltered(true);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    try {
      ds.setFilter(c.text);
      ADD_FAILURE() << "accepted";
    } catch (const DatasetError& e) {
      EXPECT_NE(std::string(e.what()).find(c.expected), std::string::npos) << e.what();
      EXPECT_NE(std::string(e.what()).find("cdsReceb"), std::string::npos) << e.what();
    }
    // The filter in force stays the one that was valid.
    EXPECT_EQ(ds.filter(), "TIPO = 'A'");
    EXPECT_EQ(column(ds, "NOME"), (Names{"Ana", "D'Avila"}));
  }
}

TEST(DatasetFilter, RecNoAndRecordCountFollowTheView) {
  Dataset ds = paymentDataset();
  ds.setFilter("TIPO = 'B'");
  ds.setFiltered(true);
  EXPECT_EQ(ds.recordCount(), 3);
  ds.first();
  EXPECT_EQ(ds.recNo(), 1);
  EXPECT_EQ(ds.asText("NOME"), "Bia");
  ds.next();
  EXPECT_EQ(ds.recNo(), 2);
  EXPECT_EQ(ds.asText("NOME"), "Caio");
  ds.next();
  ds.next();  // past the last row
  EXPECT_TRUE(ds.eof());
  EXPECT_EQ(ds.recNo(), 3);
  ds.last();
  EXPECT_EQ(ds.recNo(), 3);
  EXPECT_EQ(ds.asText("NOME"), "D");

  // A row edited out of the filter leaves the view.
  ds.first();
  ds.edit();
  ds.setValue("TIPO", "A");
  ds.post();
  EXPECT_EQ(ds.recordCount(), 2);
  EXPECT_EQ(ds.recNo(), 1);
  EXPECT_EQ(ds.asText("NOME"), "Caio");

  ds.setFilter("TIPO = 'Z'");
  EXPECT_TRUE(ds.isEmpty());
  EXPECT_EQ(ds.recNo(), 0);
  EXPECT_EQ(ds.asText("NOME"), "");  // nothing current reads as empty
}

}  // namespace
}  // namespace ecf
