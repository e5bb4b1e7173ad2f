// Host values arrive loosely typed: conversions must follow the host's settings and
// refuse bad text with a clear error, and bag fields are found whatever their case.
#include <gtest/gtest.h>

#include "ecf/variant.h"

namespace ecf {
namespace {

const HostSettings kComma = HostSettings::brazilian();
const HostSettings kPoint = HostSettings::decimalPoint();

TEST(Variant, ToTextUnderTheSettings) {
  EXPECT_EQ(Variant().toText(), "");
  EXPECT_EQ(Variant(true).toText(), "True");
  EXPECT_EQ(Variant(false).toText(), "False");
  EXPECT_EQ(Variant(-42).toText(), "-42");
  EXPECT_EQ(Variant(1234.5).toText(kComma), "1234,5");
  EXPECT_EQ(Variant(1234.5).toText(kPoint), "1234.5");
  EXPECT_EQ(Variant(0.1).toText(kComma), "0,1");
  EXPECT_EQ(Variant(DateTime::fromParts(2024, 2, 29)).toText(), "29/02/2024");
  EXPECT_EQ(Variant(DateTime::fromParts(2024, 2, 29, 0, 0, 1)).toText(), "29/02/2024 00:00:01");
  EXPECT_EQ(Variant("Pão").toText(), "Pão");
  EXPECT_THROW(Variant(Variant::Array{1, 2}).toText(), VariantError);
}

TEST(Variant, ToNumberReadsTextAndRefusesBadText) {
  EXPECT_EQ(Variant("1234,5").toNumber(kComma), 1234.5);
  EXPECT_EQ(Variant("1234.5").toNumber(kPoint), 1234.5);
  EXPECT_EQ(Variant(" 12,5 ").toNumber(kComma), 12.5);
  EXPECT_EQ(Variant().toNumber(), 0.0);
  EXPECT_EQ(Variant(true).toNumber(), 1.0);
  EXPECT_EQ(Variant(7).toNumber(), 7.0);
  EXPECT_EQ(Variant(DateTime::fromParts(2024, 1, 1, 12)).toNumber(), 45292.5);
  EXPECT_THROW(Variant("1.234,5").toNumber(kComma), VariantError) << "thousands refused";
  EXPECT_THROW(Variant("1234.5").toNumber(kComma), VariantError);
  EXPECT_THROW(Variant("").toNumber(), VariantError);
  try {
    Variant("dez reais").toNumber();
    FAIL() << "no VariantError";
  } catch (const VariantError& error) {
    EXPECT_NE(std::string(error.what()).find("'dez reais'"), std::string::npos) << error.what();
  }
}

TEST(Variant, ToIntegerRoundsHalfAwayFromZero) {
  EXPECT_EQ(Variant(2.5).toInteger(), 3);
  EXPECT_EQ(Variant(-2.5).toInteger(), -3);
  EXPECT_EQ(Variant(2.4999).toInteger(), 2);
  EXPECT_EQ(Variant("7").toInteger(), 7);
  EXPECT_EQ(Variant(" 9007199254740993 ").toInteger(), 9007199254740993LL) << "beyond a real's digits";
  EXPECT_EQ(Variant("2,5").toInteger(kComma), 3);
  EXPECT_EQ(Variant(9'000'000'000LL).toInteger(), 9'000'000'000LL);
  EXPECT_THROW(Variant(1e30).toInteger(), VariantError);
  EXPECT_THROW(Variant("x").toInteger(), VariantError);
}

TEST(Variant, ToBool) {
  for (const char* yes : {"True", "true", "S", "s", "1", " S "}) {
    EXPECT_TRUE(Variant(yes).toBool()) << yes;
  }
  for (const char* no : {"False", "FALSE", "N", "n", "0"}) {
    EXPECT_FALSE(Variant(no).toBool()) << no;
  }
  EXPECT_THROW(Variant("talvez").toBool(), VariantError);
  EXPECT_THROW(Variant("").toBool(), VariantError);
  EXPECT_FALSE(Variant().toBool());
  EXPECT_TRUE(Variant(2).toBool());
  EXPECT_FALSE(Variant(0.0).toBool());
  EXPECT_THROW(Variant(DateTime()).toBool(), VariantError);
}

TEST(Variant, ToDateTime) {
  EXPECT_EQ(Variant("29/02/2024 07:05:09").toDateTime(),
            DateTime::fromParts(2024, 2, 29, 7, 5, 9));
  EXPECT_EQ(Variant("29/02/2024").toDateTime(), DateTime::fromParts(2024, 2, 29));
  EXPECT_EQ(Variant(45292.5).toDateTime(), DateTime::fromParts(2024, 1, 1, 12));
  EXPECT_EQ(Variant(45292).toDateTime(), DateTime::fromParts(2024, 1, 1));
  EXPECT_EQ(Variant().toDateTime(), DateTime());
  EXPECT_THROW(Variant("31/02/2024").toDateTime(), VariantError);
  EXPECT_THROW(Variant(1e300).toDateTime(), VariantError);
  EXPECT_THROW(Variant(true).toDateTime(), VariantError);
}

TEST(Variant, ArraysAreOnlyReadAsArrays) {
  Variant list(Variant::Array{1, "dois"});
  EXPECT_EQ(list.asArray().size(), 2u);
  list.asArray().emplace_back(3.5);
  EXPECT_EQ(list.asArray()[2].toNumber(), 3.5);
  EXPECT_THROW(Variant("x").asArray(), VariantError);
  EXPECT_THROW(list.toNumber(), VariantError);
}

TEST(ParameterBag, FieldsIgnoreLetterCase) {
  Variant bag = makeBag({{"CDFILIAL", "0001"}, {"VRTOTAL", 12.5}, {"DESCRIÇÃO", "Açaí"}});
  ASSERT_NE(findBagField(bag, "cdfilial"), nullptr);
  EXPECT_EQ(findBagField(bag, "cdfilial")->toText(), "0001");
  EXPECT_EQ(findBagField(bag, "VrTotal")->toNumber(), 12.5);
  ASSERT_NE(findBagField(bag, "descrição"), nullptr);
  EXPECT_EQ(findBagField(bag, "descrição")->toText(), "Açaí");
  EXPECT_EQ(findBagField(bag, "CDCAIXA"), nullptr);

  setBagField(bag, "vrtotal", 30);
  setBagField(bag, "CDCAIXA", "002");
  EXPECT_EQ(bag.asArray().size(), 4u) << "an existing field is replaced, a new one added";
  EXPECT_EQ(findBagField(bag, "VRTOTAL")->toInteger(), 30);
  EXPECT_EQ(findBagField(bag, "cdcaixa")->toText(), "002");
}

TEST(ParameterBag, MalformedBagsAreNotTrusted) {
  EXPECT_EQ(findBagField(Variant("CDFILIAL"), "CDFILIAL"), nullptr);
  EXPECT_EQ(findBagField(Variant(), "CDFILIAL"), nullptr);
  // Loose entries, a one-element pair and a non-text name are skipped.
  const Variant odd(Variant::Array{"CDFILIAL", Variant::Array{"CDFILIAL"},
                                   Variant::Array{7, "x"}, Variant::Array{"CDFILIAL", "9"}});
  ASSERT_NE(findBagField(odd, "cdfilial"), nullptr);
  EXPECT_EQ(findBagField(odd, "cdfilial")->toText(), "9");

  Variant empty;
  setBagField(empty, "A", 1);
  EXPECT_EQ(findBagField(empty, "a")->toInteger(), 1);
  Variant text("x");
  EXPECT_THROW(setBagField(text, "A", 1), VariantError);
}

}  // namespace
}  // namespace ecf
