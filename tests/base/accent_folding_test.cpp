// Names compared ignoring case and accents: printers often hold names without accents
// that the host keeps with them.
#include <gtest/gtest.h>

#include "base/utf8.h"

namespace ecf {
namespace {

TEST(Utf8, FoldingDropsAccentsAndCase) {
  EXPECT_EQ(foldCaseAndAccents("Cartão Crédito à vista, ÇÑÜÿ"), "CARTAO CREDITO A VISTA, CNUY");
  EXPECT_TRUE(equalsIgnoreCaseAndAccents("Refeição", "REFEICAO"));
  EXPECT_TRUE(equalsIgnoreCaseAndAccents("cartao", "CARTÃO"));
  EXPECT_FALSE(equalsIgnoreCaseAndAccents("Cartao", "Cartoes"));
  // Other characters, malformed bytes included, are kept as they are.
  EXPECT_EQ(foldCaseAndAccents("Æ×ß€ \xFF"), "Æ×ß€ \xFF");
}

}  // namespace
}  // namespace ecf
