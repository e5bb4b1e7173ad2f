// The dataset's cursor, editing, indexes, locate, field access and packets.
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "data/dataset_helpers.h"

namespace ecf {
namespace {

using testing::addRow;
using testing::column;
using testing::paymentDataset;
using Names = std::vector<std::string>;

std::string errorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const DatasetError& e) {
    return e.what();
  }
  return "(no error)";
}

Dataset itemDataset() {
  Dataset ds("cdsItens");
  ds.setFieldDefs({{"GRUPO", FieldType::Text, 10},
                   {"VALOR", FieldType::Real, 0},
                   {"SEQ", FieldType::Integer, 0},
                   {"DATA", FieldType::DateTime, 0}});
  ds.createDataSet();
  return ds;
}

TEST(DatasetIndex, SecondFieldDescendingNumericAndStable) {
  Dataset ds = itemDataset();
  const std::vector<std::string> f{"GRUPO", "VALOR", "SEQ"};
  addRow(ds, f, {"B", 1.0, 1});
  addRow(ds, f, {"A", 2.0, 2});
  addRow(ds, f, {"A", 10.0, 3});  // numerically above 2, though "10" < "2" as text
  addRow(ds, f, {"B", 5.0, 4});
  addRow(ds, f, {"A", 2.0, 5});  // ties keep insertion order
  addRow(ds, f, {"A", nullptr, 6});
  addRow(ds, f, {nullptr, 3.0, 7});

  ds.addIndex("idxGrupoValor", "grupo;valor", "VALOR");
  ds.setIndexName("IDXGRUPOVALOR");
  EXPECT_EQ(ds.indexName(), "idxGrupoValor");
  // Null is the lowest value: first in an ascending field, last in a descending one.
  EXPECT_EQ(column(ds, "SEQ"), (Names{"7", "3", "2", "5", "6", "4", "1"}));

  // Changing the index keeps the cursor on its row.
  ASSERT_TRUE(ds.locate("SEQ", 5));
  ds.setIndexName("");
  EXPECT_EQ(ds.asText("SEQ"), "5");
  EXPECT_EQ(ds.recNo(), 5);
  EXPECT_EQ(column(ds, "SEQ"), (Names{"1", "2", "3", "4", "5", "6", "7"}));

  // A posted change moves the row to its place in the active index.
  ds.setIndexName("idxGrupoValor");
  ASSERT_TRUE(ds.locate("SEQ", 1));
  ds.edit();
  ds.setValue("GRUPO", "A");
  ds.setValue("VALOR", 100.0);
  ds.post();
  EXPECT_EQ(ds.recNo(), 2);
  EXPECT_EQ(ds.asText("SEQ"), "1");
}

TEST(DatasetIndex, DatesChronologicallyAndClearErrors) {
  Dataset ds = itemDataset();
  addRow(ds, {"SEQ", "DATA"}, {1, DateTime::fromParts(2024, 1, 2)});
  addRow(ds, {"SEQ", "DATA"}, {2, DateTime::fromParts(2023, 12, 31, 23, 59)});
  addRow(ds, {"SEQ", "DATA"}, {3, DateTime::fromParts(2024, 1, 2, 0, 0, 0, 1)});
  ds.addIndex("idxData", "DATA", "DATA");
  ds.setIndexName("idxData");
  EXPECT_EQ(column(ds, "SEQ"), (Names{"3", "1", "2"}));

  EXPECT_EQ(errorOf([&] { ds.setIndexName("idxNada"); }),
            "Índice 'idxNada' não encontrado em cdsItens");
  EXPECT_EQ(ds.indexName(), "idxData");
  EXPECT_NE(errorOf([&] {
              ds.addIndex("idxX", "GRUPO;XPTO");
            }).find("Campo 'XPTO' não encontrado em cdsItens"),
            std::string::npos);
  EXPECT_NE(errorOf([&] { ds.addIndex("idxY", "GRUPO", "VALOR"); }).find("'VALOR'"),
            std::string::npos);
  EXPECT_NE(errorOf([&] { ds.addIndex("idxZ", " ; "); }).find("sem campos"), std::string::npos);
}

TEST(DatasetLocate, ExactAndIgnoringCaseWithAccentedLetters) {
  Dataset ds("cdsProdutos");
  ds.setFieldDefs({{"CODIGO", FieldType::Integer, 0},
                   {"DESCRICAO", FieldType::Text, 30},
                   {"PRECO", FieldType::Real, 0}});
  ds.createDataSet();
  const std::vector<std::string> f{"CODIGO", "DESCRICAO", "PRECO"};
  addRow(ds, f, {1, "Pão de queijo", 4.5});
  addRow(ds, f, {2, "açaí", 12.0});
  addRow(ds, f, {3, "AÇAÍ", 15.0});
  addRow(ds, f, {4, "Açaí 500ml", 18.9});

  EXPECT_TRUE(ds.locate("DESCRICAO", "AÇAÍ"));
  EXPECT_EQ(ds.recNo(), 3);
  EXPECT_TRUE(ds.locate("descricao", "AÇAÍ", true));  // finds the first, "açaí"
  EXPECT_EQ(ds.recNo(), 2);
  EXPECT_TRUE(ds.locate("DESCRICAO", "PÃO DE QUEIJO", true));
  EXPECT_EQ(ds.recNo(), 1);

  // Not found: the cursor stays where it was. A partial text never matches.
  EXPECT_FALSE(ds.locate("DESCRICAO", "Açaí"));
  EXPECT_FALSE(ds.locate("DESCRICAO", "açaí 500", true));
  EXPECT_EQ(ds.recNo(), 1);

  // Numbers compare numerically, whatever the form of the wanted value.
  EXPECT_TRUE(ds.locate("PRECO", "18,9"));
  EXPECT_EQ(ds.asText("CODIGO"), "4");
  EXPECT_TRUE(ds.locate("CODIGO", 2.0));
  EXPECT_EQ(ds.recNo(), 2);
  EXPECT_FALSE(ds.locate("CODIGO", 2.5));  // not rounded to a neighbour
  EXPECT_EQ(errorOf([&] {
              ds.locate("CODIGO", "dois");
            }).rfind("Valor inválido para o campo 'CODIGO'", 0),
            0U);

  // Locate searches the view only.
  ds.setFilter("CODIGO <> '2'");
  ds.setFiltered(true);
  EXPECT_TRUE(ds.locate("DESCRICAO", "açaí", true));
  EXPECT_EQ(ds.asText("CODIGO"), "3");
  EXPECT_EQ(ds.recNo(), 2);
}

TEST(DatasetLocate, TwoFieldsMustBothMatch) {
  Dataset ds = paymentDataset();
  EXPECT_TRUE(ds.locate("FORMA", "TIPO", "Cartão", "B"));
  EXPECT_EQ(ds.asText("NOME"), "Caio");
  EXPECT_EQ(ds.recNo(), 4);
  EXPECT_TRUE(ds.locate("forma", "tipo", "CARTÃO", "a", true));
  EXPECT_EQ(ds.asText("NOME"), "D'Avila");
  EXPECT_FALSE(ds.locate("FORMA", "TIPO", "Cheque", "A"));
  EXPECT_EQ(ds.asText("NOME"), "D'Avila");
}

TEST(DatasetEditing, InsertEditPostCancel) {
  Dataset ds = paymentDataset();
  ds.last();
  ds.append();
  EXPECT_EQ(ds.state(), Dataset::State::Insert);
  ds.setValue("NOME", "Eva");
  ds.setValue("VALOR", "2,5");
  EXPECT_EQ(ds.asText("NOME"), "Eva");  // the row being inserted is the current one
  ds.post();
  EXPECT_EQ(ds.state(), Dataset::State::Browse);
  EXPECT_EQ(ds.recordCount(), 6);
  EXPECT_EQ(ds.recNo(), 6);
  EXPECT_DOUBLE_EQ(ds.asNumber("VALOR"), 2.5);

  // Cancel discards an edit and an insert.
  ds.first();
  ds.edit();
  ds.setValue("NOME", "Outra");
  ds.cancel();
  EXPECT_EQ(ds.asText("NOME"), "Ana");
  ds.insert();
  ds.setValue("NOME", "Nunca");
  ds.cancel();
  EXPECT_EQ(ds.recordCount(), 6);
  EXPECT_EQ(ds.asText("NOME"), "Ana");

  // Insert places the row before the current one; append at the end.
  ds.next();
  ds.insert();
  ds.setValue("NOME", "Meio");
  ds.post();
  EXPECT_EQ(ds.recNo(), 2);
  EXPECT_EQ(column(ds, "NOME"), (Names{"Ana", "Meio", "D'Avila", "Bia", "Caio", "D", "Eva"}));

  // Edit and post keep the cursor on the row.
  ds.locate("NOME", "Bia");
  ds.edit();
  ds.setValue("valor", 8);
  ds.post();
  EXPECT_EQ(ds.asText("NOME"), "Bia");
  EXPECT_EQ(ds.value("VALOR"), Variant(8.0));

  // Delete moves to the next row; deleting the last moves to the new last.
  ds.deleteRecord();
  EXPECT_EQ(ds.asText("NOME"), "Caio");
  ds.last();
  ds.deleteRecord();
  EXPECT_EQ(ds.asText("NOME"), "D");
  EXPECT_EQ(ds.recordCount(), 5);
}

// Posts and deletes keep the view in place instead of rebuilding it; whatever they do,
// the view must be the one a fresh load of the same rows gives.
TEST(DatasetEditing, ViewAfterManyChangesMatchesAFreshLoad) {
  auto prepare = [](Dataset& ds) {
    ds.addIndex("idx", "GRUPO;VALOR", "VALOR");
    ds.setIndexName("idx");
    ds.setFilter("GRUPO <> 'C'");
    ds.setFiltered(true);
  };
  Dataset ds = itemDataset();
  prepare(ds);
  std::mt19937 random(20240229);
  const char* groups[] = {"A", "B", "C"};
  for (int step = 1; step <= 300; ++step) {
    ds.first();
    for (unsigned moves = random() % 8; moves > 0; --moves) ds.next();
    const unsigned action = random() % 4;
    const char* group = groups[random() % 3];
    const double value = static_cast<double>(random() % 4);  // few values: many ties
    if (action == 3 && !ds.isEmpty()) {
      ds.deleteRecord();
    } else {
      if (action == 0) ds.append();
      if (action == 1) ds.insert();
      if (action >= 2) ds.edit();
      ds.setValue("GRUPO", group);
      ds.setValue("VALOR", value);
      if (action != 2) ds.setValue("SEQ", step);
      const std::string seq = ds.asText("SEQ");
      ds.post();
      if (std::string(group) != "C") {  // a visible row keeps the cursor after its post
        EXPECT_EQ(ds.asText("SEQ"), seq) << "step " << step;
      }
    }
    Dataset fresh = itemDataset();
    prepare(fresh);
    fresh.setData(ds.data());
    ASSERT_EQ(column(ds, "SEQ"), column(fresh, "SEQ")) << "step " << step;
  }
  EXPECT_GT(ds.data().rowCount(), 20u);
}

TEST(DatasetEditing, StateRules) {
  Dataset ds = paymentDataset();
  // Writing or posting outside Insert/Edit is refused; cancel is harmless.
  const std::string setError = errorOf([&] { ds.setValue("NOME", "x"); });
  EXPECT_NE(setError.find("'NOME'"), std::string::npos) << setError;
  EXPECT_NE(setError.find("não está em modo de edição ou inserção"), std::string::npos);
  EXPECT_NE(errorOf([&] { ds.post(); }).find("cdsReceb"), std::string::npos);
  ds.cancel();
  EXPECT_EQ(ds.recordCount(), 5);

  // Navigating posts a pending change...
  ds.first();
  ds.edit();
  ds.setValue("NOME", "Ana Maria");
  ds.next();
  EXPECT_EQ(ds.state(), Dataset::State::Browse);
  ds.first();
  EXPECT_EQ(ds.asText("NOME"), "Ana Maria");
  ds.append();
  ds.setValue("NOME", "Fabio");
  ds.first();
  EXPECT_EQ(ds.recordCount(), 6);
  // ...but drops a new row nobody filled in, as the host platform does.
  ds.append();
  ds.last();
  EXPECT_EQ(ds.recordCount(), 6);
  EXPECT_EQ(ds.asText("NOME"), "Fabio");

  // Deleting while inserting only drops the new row.
  ds.insert();
  ds.deleteRecord();
  EXPECT_EQ(ds.recordCount(), 6);

  // Edit on an empty dataset starts a new row.
  ds.emptyDataSet();
  EXPECT_TRUE(ds.isEmpty());
  EXPECT_NE(errorOf([&] { ds.deleteRecord(); }).find("cdsReceb"), std::string::npos);
  ds.edit();
  EXPECT_EQ(ds.state(), Dataset::State::Insert);
  ds.setValue("NOME", "Gil");
  ds.post();
  EXPECT_EQ(ds.recordCount(), 1);

  // A closed dataset refuses navigation and editing, and reads as empty.
  ds.close();
  EXPECT_TRUE(ds.isEmpty());
  EXPECT_TRUE(ds.eof());
  EXPECT_EQ(ds.recNo(), 0);
  EXPECT_NE(errorOf([&] { ds.first(); }).find("fechado"), std::string::npos);
  EXPECT_NE(errorOf([&] { ds.append(); }).find("fechado"), std::string::npos);
}

TEST(DatasetEditing, InsertedRowHiddenByTheFilterIsStoredButNotShown) {
  Dataset ds = paymentDataset();
  ds.setFilter("TIPO = 'A'");
  ds.setFiltered(true);
  ds.last();
  ds.append();
  ds.setValue("TIPO", "B");
  ds.setValue("NOME", "Oculto");
  ds.post();
  EXPECT_EQ(ds.recordCount(), 2);
  EXPECT_EQ(ds.recNo(), 2);
  EXPECT_EQ(ds.data().rowCount(), 6u);
}

TEST(DatasetFields, ConversionAndCutToSizeInCharacters) {
  Dataset ds("cdsTipos");
  ds.setFieldDefs({{"NOME", FieldType::Text, 5},
                   {"QTD", FieldType::Integer, 0},
                   {"PRECO", FieldType::Real, 0},
                   {"QUANDO", FieldType::DateTime, 0},
                   {"ATIVO", FieldType::Boolean, 0},
                   {"LIVRE", FieldType::Text, 0}});
  ds.createDataSet();
  ds.append();
  ds.setValue("NOME", "Pão de queijo");  // 5 characters, 6 bytes
  ds.setValue("QTD", "12");
  ds.setValue("PRECO", "1234,56");
  ds.setValue("QUANDO", DateTime::fromParts(2024, 2, 29, 13, 5, 7));
  ds.setValue("ATIVO", "S");
  ds.setValue("LIVRE", std::string("a\xC3") + "b");  // malformed UTF-8 is repaired
  ds.post();
  EXPECT_EQ(ds.value("NOME"), Variant("Pão d"));
  EXPECT_EQ(ds.value("QTD"), Variant(12));
  EXPECT_DOUBLE_EQ(ds.asNumber("PRECO"), 1234.56);
  EXPECT_EQ(ds.asDateTime("QUANDO"), DateTime::fromParts(2024, 2, 29, 13, 5, 7));
  EXPECT_TRUE(ds.asBool("ATIVO"));
  EXPECT_EQ(ds.asText("LIVRE"), "a?b");

  ds.edit();
  ds.setValue("NOME", "😀😀😀😀😀😀");  // four bytes each, never split
  ds.setValue("QTD", 2.5);        // rounds half away from zero
  ds.setValue("PRECO", "7.5", HostSettings::decimalPoint());
  ds.setValue("ATIVO", nullptr);
  ds.post();
  EXPECT_EQ(ds.asText("NOME"), "😀😀😀😀😀");
  EXPECT_EQ(ds.value("QTD"), Variant(3));
  EXPECT_DOUBLE_EQ(ds.asNumber("PRECO"), 7.5);
  EXPECT_TRUE(ds.value("ATIVO").isNull());
  EXPECT_EQ(ds.asText("PRECO", HostSettings::decimalPoint()), "7.5");
  EXPECT_EQ(ds.asText("PRECO"), "7,5");

  ds.edit();
  const std::string bad = errorOf([&] { ds.setValue("QTD", "doze"); });
  EXPECT_EQ(bad.rfind("Valor inválido para o campo 'QTD' (inteiro) em cdsTipos", 0), 0u) << bad;
  // A point is no decimal separator under the default settings: refused, never read as 75.
  EXPECT_NE(errorOf([&] { ds.setValue("PRECO", "7.5"); }).find("'PRECO' (real) em cdsTipos"),
            std::string::npos);
  EXPECT_NE(errorOf([&] { ds.setValue("PRECO", Variant::Array{}); }).find("'PRECO'"),
            std::string::npos);
  ds.cancel();
  EXPECT_EQ(ds.value("QTD"), Variant(3));
}

TEST(DatasetFields, MissingFieldNamesFieldAndDataset) {
  Dataset ds = paymentDataset();
  const std::string expected = "Campo 'DSIMPFISCAL' não encontrado em cdsReceb";
  EXPECT_EQ(errorOf([&] { ds.value("DSIMPFISCAL"); }), expected);
  EXPECT_EQ(errorOf([&] { ds.asText("DSIMPFISCAL"); }), expected);
  EXPECT_EQ(errorOf([&] { ds.locate("DSIMPFISCAL", "x"); }), expected);
  ds.edit();
  EXPECT_EQ(errorOf([&] { ds.setValue("DSIMPFISCAL", "x"); }), expected);
  ds.cancel();
  // Names ignore letter case.
  EXPECT_TRUE(ds.hasField("forma"));
  EXPECT_FALSE(ds.hasField("DSIMPFISCAL"));
  EXPECT_EQ(ds.asText("nome"), "Ana");
  Dataset unnamed;
  unnamed.setFieldDefs({{"A", FieldType::Text, 1}});
  unnamed.createDataSet();
  EXPECT_EQ(errorOf([&] { unnamed.value("B"); }), "Campo 'B' não encontrado em dataset sem nome");
}

TEST(DatasetPackets, DataIgnoresFilterAndSetDataReplacesStructure) {
  Dataset ds = paymentDataset();
  ds.setFilter("TIPO = 'A'");
  ds.setFiltered(true);
  ds.addIndex("idxNome", "NOME");
  ds.setIndexName("idxNome");
  const DataPacket packet = ds.data();
  ASSERT_EQ(packet.rowCount(), 5u);  // every row, in storage order
  EXPECT_EQ(packet.row(0)[2], Variant("Ana"));
  EXPECT_EQ(packet.row(4)[2], Variant("D"));

  Dataset copy("cdsCopia");
  copy.setFieldDefs({{"OUTRO", FieldType::Integer, 0}});
  copy.createDataSet();
  copy.setData(packet);
  EXPECT_EQ(copy.fieldDefs(), packet.fields());
  EXPECT_FALSE(copy.hasField("OUTRO"));
  EXPECT_EQ(copy.recordCount(), 5);
  EXPECT_EQ(copy.recNo(), 1);
  EXPECT_EQ(copy.data(), packet);

  // close keeps definitions, filter and indexes; createDataSet starts empty.
  copy.close();
  EXPECT_FALSE(copy.active());
  EXPECT_EQ(copy.fieldDefs(), packet.fields());
  copy.createDataSet();
  EXPECT_TRUE(copy.isEmpty());
  EXPECT_EQ(copy.data().rowCount(), 0u);

  // A packet from the host is converted to its fields' types and sizes.
  const DataPacket loose({{"N", FieldType::Integer, 0}, {"T", FieldType::Text, 2}},
                         {{Variant("7"), Variant("abc")}});
  copy.setData(loose);
  EXPECT_EQ(copy.value("N"), Variant(7));
  EXPECT_EQ(copy.value("T"), Variant("ab"));
  // setData refuses a packet the active filter cannot read, and keeps what it had.
  copy.setFilter("N = '7'");
  copy.setFiltered(true);
  EXPECT_THROW(copy.setData(packet), DatasetError);
  EXPECT_EQ(copy.recordCount(), 1);
}

TEST(DatasetPackets, CopyIsIndependent) {
  Dataset original = paymentDataset();
  original.setFilter("TIPO = 'B'");
  original.setFiltered(true);
  original.next();
  Dataset copy = original;
  EXPECT_EQ(copy.name(), "cdsReceb");
  EXPECT_EQ(copy.recNo(), 2);
  EXPECT_EQ(copy.asText("NOME"), "Caio");
  copy.edit();
  copy.setValue("NOME", "Mudou");
  copy.post();
  EXPECT_EQ(original.asText("NOME"), "Caio");

  Dataset moved = std::move(copy);
  EXPECT_EQ(moved.asText("NOME"), "Mudou");
  // A moved-from dataset stays usable: closed and empty.
  EXPECT_FALSE(copy.active());
  EXPECT_TRUE(copy.isEmpty());
}

TEST(DataPacketValue, ValidationLookupAndEquality) {
  const std::vector<FieldDef> fields{{"Codigo", FieldType::Integer, 0},
                                     {"Descrição", FieldType::Text, 10}};
  EXPECT_THROW(DataPacket(fields, {{Variant(1)}}), DatasetError);
  EXPECT_THROW(DataPacket({{"A", FieldType::Text, 0}, {"a", FieldType::Text, 0}}, {}),
               DatasetError);
  const DataPacket a(fields, {{Variant(1), Variant("x")}, {Variant(2), Variant()}});
  EXPECT_EQ(a.fieldIndex("CODIGO"), 0);
  EXPECT_EQ(a.fieldIndex("DESCRIÇÃO"), 1);
  EXPECT_EQ(a.fieldIndex("Preco"), -1);
  EXPECT_THROW(a.row(2), DatasetError);

  const DataPacket same(fields, {{Variant(1), Variant("x")}, {Variant(2), Variant()}});
  const DataPacket other(fields, {{Variant(1), Variant("x")}, {Variant(2), Variant("")}});
  EXPECT_EQ(a, same);
  EXPECT_FALSE(a == other);
  EXPECT_EQ(DataPacket(), DataPacket({}, {}));
  EXPECT_FALSE(DataPacket().hasFields());
}

}  // namespace
}  // namespace ecf
