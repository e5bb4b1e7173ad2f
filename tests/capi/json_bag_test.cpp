// A request's bag: names alike but for case are one field, in the first one's place, with
// the last one's value; other names keep the text's order.
#include <gtest/gtest.h>

#include "capi/json_reader.h"

namespace ecftest {
namespace {

TEST(JsonBag, NamesAlikeButForCaseAreOneField) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {R"({"Valor": 1, "QTDE": 2, "VALOR": 3})", "Valor=3 QTDE=2 "},
      {R"({"b": 1, "a": 2})", "b=1 a=2 "},
      {R"({"ção": 1, "x": 2, "ÇÃO": 3})", "ção=3 x=2 "},
  };
  for (const auto& [text, expected] : cases) {
    const ecf::Variant bag = ecf::capi::toBag(ecf::capi::readJson(text), nullptr);
    std::string fields;
    for (const ecf::Variant& pair : bag.asArray()) {
      fields += pair.asArray()[0].toText() + "=" + pair.asArray()[1].toText() + " ";
    }
    EXPECT_EQ(fields, expected) << text;
  }
}

}  // namespace
}  // namespace ecftest
