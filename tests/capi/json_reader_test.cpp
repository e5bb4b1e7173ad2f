// The module's JSON reader: the values nlohmann's parser gives, of the same types, and a
// refusal, with its reason, of what nlohmann refuses.
#include "capi/json_reader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace ecftest {
namespace {

using ecf::capi::Json;

TEST(JsonReader, ReadsWhatNlohmannReadsWithTheSameTypes) {
  for (const std::string& text : std::vector<std::string>{
           "\xEF\xBB\xBF {\"b\": 1, \"a\": [true, null], \"b\": {\"c\": -2}}\r\n", "-0", "-0.0",
           "18446744073709551615", "18446744073709551616", "-9223372036854775809", "2e-400",
           R"("caf\u00e9 \ud83d\ude00 \"\/\\\b\f\n\r\t")", "\"\xF4\x8F\xBF\xBF\"",
           std::string("7\0x", 3)}) {
    SCOPED_TRACE(text);
    const Json expected = Json::parse(text);
    const Json read = ecf::capi::readJson(text);
    EXPECT_EQ(read.dump(), expected.dump());
    EXPECT_EQ(read.type(), expected.type());
  }
}

TEST(JsonReader, RefusesWhatNlohmannRefusesSayingWhy) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", "a value expected, the text ends at byte 1"},
      {"\xEF\xBB 1", "an invalid byte order mark"},
      {"[1,]", "a value expected at byte 4"},
      {"{\"a\" 1}", "':' expected at byte 6"},
      {"01", "more text after the value at byte 2"},
      {"1.", "a digit expected after '.'"},
      {"[1e400]", "number overflow at byte 2"},
      {"\"\x01\"", "a control character in a string"},
      {"\"\xC0\xAF\"", "invalid UTF-8"},
      {"\"\xED\xA0\x80\"", "invalid UTF-8"},
      {R"("\ud800")", "a high surrogate without its low one"},
      {R"("\udc00")", "a low surrogate without its high one"},
      {R"("\x")", "an invalid escape"},
      {"\v1", "a value expected at byte 1"},
      {"tru", "an invalid literal"},
      {std::string(65, '[') + std::string(65, ']'), "nested more than 64 levels deep"},
  };
  for (const auto& [text, reason] : cases) {
    SCOPED_TRACE(text);
    // Only the nesting limit is the module's own.
    EXPECT_EQ(Json::accept(text), reason.rfind("nested", 0) == 0);
    try {
      static_cast<void>(ecf::capi::readJson(text));
      ADD_FAILURE() << "accepted";
    } catch (const ecf::capi::ValueError& error) {
      EXPECT_THAT(error.what(), ::testing::HasSubstr("malformed JSON: " + reason));
    }
  }
}

}  // namespace
}  // namespace ecftest
