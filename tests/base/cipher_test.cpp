#include "base/cipher.h"

#include <gtest/gtest.h>

#include <cctype>
#include <stdexcept>

namespace ecf {
namespace {

TEST(Cipher, EveryTextComesBackWholeAndTheCipherIsPlainAscii) {
  for (const std::string& text : {std::string(""), std::string("1234,5"), std::string("10,10"),
                                  std::string("Pão de queijo"), std::string("\0\x01\xff", 3)}) {
    for (const int key : {0, 7, 255}) {
      const std::string enciphered = encipher(text, key);
      EXPECT_EQ(text, decipher(enciphered, key));
      for (const char c : enciphered) EXPECT_TRUE(std::isxdigit(static_cast<unsigned char>(c)));
    }
  }
  EXPECT_NE(encipher("10,10", 7), "10,10");
  EXPECT_NE(encipher("10,10", 7), encipher("10,10", 8));
}

TEST(Cipher, ATextTheCipherCannotHaveMadeIsRefused) {
  EXPECT_THROW(decipher("ABC", 7), std::runtime_error);
  EXPECT_THROW(decipher("ZZ", 7), std::runtime_error);
}

}  // namespace
}  // namespace ecf
