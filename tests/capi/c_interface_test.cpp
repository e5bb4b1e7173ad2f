// The C interface end to end: every operation of the catalogue called through ecf_call on
// the virtual printer, calls that cannot be made, the operator's answers, the settings.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <regex>
#include <set>
#include <sstream>

#include "ecf/ecf.h"
#include "support/module_fixture.h"

namespace ecftest {
namespace {

using Json = nlohmann::ordered_json;
using ::testing::HasSubstr;

Json call(const std::string& operation, const Json& request) {
  char* reply = ecf_call(operation.c_str(), request.dump().c_str());
  EXPECT_NE(reply, nullptr);
  const Json json = Json::parse(reply);
  ecf_free(reply);
  return json;
}

class CInterfaceTest : public ModuleTest {
 protected:
  Json startArgs() const {
    Json bag = Json::object();
    const ecf::Variant start = startBag();
    for (const ecf::Variant& pair : start.asArray()) {
      bag[pair.asArray()[0].toText()] = pair.asArray()[1].toText();
    }
    return Json{{"args", {bag}}};
  }
  void startThroughCall() { ASSERT_EQ(call("StartImpFiscal", startArgs())["result"], true); }
};

// A value of each catalogue type, as a client that knows nothing else would send.
Json sampleOf(const std::string& type) {
  static const std::map<std::string, Json> samples = {{"text", ""},
                                                      {"number", "0.00"},
                                                      {"integer", 0},
                                                      {"boolean", false},
                                                      {"bag", Json::object()},
                                                      {"positional array", Json::array()},
                                                      {"dataset", nullptr},
                                                      {"list of texts", Json::array()},
                                                      {"date-time", nullptr}};
  return samples.at(type);
}

bool hasResultType(const Json& result, const std::string& type) {
  if (type == "none") return result.is_null();
  if (type == "boolean") return result.is_boolean();
  if (type == "number") return result.is_number();
  return result.is_string();  // text, date-time
}

TEST_F(CInterfaceTest, EveryOperationOfTheCatalogueRunsAndAnswersInItsShape) {
  const Json catalogue = Json::parse(ecf_operations());
  EXPECT_EQ(ecf_operations(), ecf_operations()) << "built once";

  // Every operation the C++ header declares is in the catalogue.
  std::ifstream header(std::string(ECF_SOURCE_DIR) + "/include/ecf/module.h");
  std::stringstream text;
  text << header.rdbuf();
  const std::string declarations = text.str();
  std::set<std::string> listed;
  for (const Json& operation : catalogue["operations"]) listed.insert(operation["name"]);
  const std::regex declared(R"(ECF_API (?:const )?[\w:]+\*? (\w+)\()");
  int count = 0;
  for (auto it = std::sregex_iterator(declarations.begin(), declarations.end(), declared);
       it != std::sregex_iterator(); ++it, ++count) {
    EXPECT_EQ(listed.count((*it)[1]), 1u) << (*it)[1] << " is not in the catalogue";
  }
  EXPECT_GT(count, 70);

  startThroughCall();
  // Ending the session would leave the operations after it without a printer.
  std::vector<Json> ordered;
  for (const Json& operation : catalogue["operations"]) {
    if (operation["name"] != "StopImpFiscal" && operation["name"] != "FechaPorta") {
      ordered.push_back(operation);
    }
  }
  for (const Json& operation : catalogue["operations"]) {
    if (operation["name"] == "StopImpFiscal" || operation["name"] == "FechaPorta") {
      ordered.push_back(operation);
    }
  }
  for (const Json& operation : ordered) {
    const std::string name = operation["name"];
    SCOPED_TRACE(name);
    Json args = Json::object();
    std::set<std::string> written;
    for (const Json& arg : operation["args"]) {
      if (arg["direction"] != "out") args[arg["name"].get<std::string>()] = sampleOf(arg["type"]);
      if (arg["direction"] != "in") written.insert(arg["name"]);
    }
    const Json reply = call(name, {{"args", args}});
    EXPECT_TRUE(reply["error"].is_null()) << reply.dump();
    EXPECT_TRUE(hasResultType(reply["result"], operation["result"])) << reply.dump();
    std::set<std::string> out;
    for (const auto& [key, unused] : reply["out"].items()) out.insert(key);
    EXPECT_EQ(out, written);
    EXPECT_TRUE(reply["notices"].is_array() && reply["questions"].is_array());
  }
}

TEST_F(CInterfaceTest, ACallThatCannotBeMadeIsAClearErrorAndSendsNothing) {
  startThroughCall();
  struct Case {
    std::string operation;
    std::string request;
    std::string code;
    std::string message;
  };
  const std::string deep = std::string(100, '[') + std::string(100, ']');
  const std::vector<Case> cases = {
      {"VendeItem", "{}", "unknown_operation", "no operation named \"VendeItem\""},
      {"Suprimento", R"({"args": ["001", 10)", "bad_json", "malformed JSON"},
      {"Suprimento", R"({"args": ["001", 1e400]})", "bad_json", "number overflow"},
      {"Suprimento", R"({"args": ["001", )" + deep + "]}", "bad_json",
       "nested more than 64 levels deep"},
      {"Suprimento", R"({"args": "001"})", "bad_request", "\"args\" must be a list"},
      {"Suprimento", R"({"args": [], "answers": ["talvez"]})", "bad_request",
       "answer \"talvez\" is neither"},
      {"Suprimento", R"({"args": ["001"]})", "missing_argument",
       "Suprimento: argument 2 (amount) is missing: Suprimento(scheme: text, amount: number)"},
      {"Suprimento", R"({"args": {"scheme": "001", "valor": 10}})", "unknown_argument",
       "Suprimento has no argument \"valor\""},
      {"BuscaTotGer", R"({"args": {"scheme": "001", "grandTotal": ""}})", "unknown_argument",
       "\"grandTotal\" is written by the operation, not given"},
      {"Suprimento", R"({"args": ["001", "10,50"]})", "bad_argument",
       "Suprimento: argument 2 (amount) must be a number, not \"10,50\""},
      {"Suprimento", R"({"args": ["001", 1, 2]})", "bad_argument", "3 arguments given, 2 expected"},
      {"Guilhotina", R"({"args": ["001", 4294967296]})", "out_of_range",
       "Guilhotina: argument 2 (cutKind) must be a 32-bit whole number"},
      {"CarregaRecebimento",
       R"({"args": ["", "001", 0, {"fields": ["CDTIPORECE:text:3"], "rows": [["001", "x"]]}]})",
       "bad_argument",
       "row 1: has 2 values for 1 fields (CarregaRecebimento, argument 4 paymentTypes)"},
      {"VendaItem", R"({"args": [{"VALOR": {"amount": "4,50"}}]})", "bad_argument",
       "an amount is {\"amount\": \"10.50\"}"},
  };
  printer().clearRecord();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.operation + " " + c.request.substr(0, 80));
    char* text = ecf_call(c.operation.c_str(), c.request.c_str());
    ASSERT_NE(text, nullptr);
    const Json reply = Json::parse(text);
    ecf_free(text);
    EXPECT_EQ(reply["error"]["code"], c.code);
    EXPECT_THAT(reply["error"]["message"].get<std::string>(), HasSubstr(c.message));
    EXPECT_TRUE(reply["result"].is_null());
  }
  EXPECT_THAT(printer().commandNames(), ::testing::IsEmpty());
  char* nameless = ecf_call(nullptr, nullptr);
  EXPECT_EQ(Json::parse(nameless)["error"]["code"], "unknown_operation");
  ecf_free(nameless);
}

TEST_F(CInterfaceTest, AnAmountAsADecimalTextIsSentAsTheSameNumber) {
  startThroughCall();
  call("CarregaTotalizador", {{"args", {"", "001", 0, nullptr}}});
  printer().clearRecord();
  ASSERT_EQ(call("Suprimento", {{"args", {"001", "10.50"}}})["result"], true);
  const auto asText = printer().commands();
  printer().clearRecord();
  ASSERT_EQ(call("Suprimento", {{"args", {"001", 10.5}}})["result"], true);
  const auto asNumber = printer().commands();
  ASSERT_EQ(asText.size(), asNumber.size());
  ASSERT_FALSE(asText.empty());
  for (std::size_t i = 0; i < asText.size(); ++i) {
    EXPECT_EQ(sentParams(asText[i]), sentParams(asNumber[i])) << asText[i].name;
  }
}

// The operator's answers: the request's first, then the callback, else no. With no receipt
// open the printer refuses the item and the operator is asked whether to print it again.
struct CallbackLog {
  std::vector<Json> messages;
  int answer = 0;
  Json innerReply;
};

int ECF_CALL recordingOperator(void* context, const char* message) {
  auto* log = static_cast<CallbackLog*>(context);
  log->messages.push_back(Json::parse(message));
  char* inner = ecf_call("FechaPorta", "{}");
  log->innerReply = Json::parse(inner);
  ecf_free(inner);
  return log->answer;
}

TEST_F(CInterfaceTest, AnswersComeFromTheRequestThenTheCallbackElseNo) {
  startThroughCall();
  const Json item = Json::parse(R"({"args": [{
      "ESQUEMACOR": "001", "INTEFERRO": "", "MESA": "", "FLAG": "", "CDARVPROD": "1",
      "NMPROD": "Pão de queijo", "CDALIQ": "00", "IDALIQ": "T", "QTDE": 1,
      "VALOR": {"amount": "4.50"}, "DESCONT": 0, "UNIDADE": "UN", "TIPOTICKET": "",
      "VRPERCALIQ": 18, "IDUTILTEF": "N", "UTILTEF": false}]})");
  struct Case {
    std::vector<std::string> answers;
    bool callback;
    int callbackAnswer;
    std::vector<std::string> asked;  // the answers given, in order
  };
  const std::vector<Case> cases = {
      {{}, false, 0, {"no"}},
      {{"yes", "no"}, false, 0, {"yes", "no"}},
      {{"yes"}, true, 0, {"yes", "no"}},
      {{"yes", "yes"}, true, 0, {"yes", "yes", "no"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answers.size());
    CallbackLog log;
    log.answer = c.callbackAnswer;
    ecf_set_operator(c.callback ? &recordingOperator : nullptr, &log);
    printer().clearRecord();
    Json request = item;
    request["answers"] = c.answers;
    const Json reply = call("VendaItem", request);
    EXPECT_EQ(reply["result"], false);
    std::vector<std::string> asked;
    for (const Json& question : reply["questions"]) {
      EXPECT_THAT(question["text"].get<std::string>(), HasSubstr("Deseja imprimir novamente?"));
      asked.push_back(question["answer"]);
    }
    EXPECT_EQ(asked, c.asked);
    EXPECT_EQ(printer().commandsNamed("VendaDeItem").size(), c.asked.size());
    // Each refused sale is in the reply as the printer named it.
    ASSERT_EQ(reply["refusals"].size(), c.asked.size());
    for (const Json& refusal : reply["refusals"]) {
      EXPECT_EQ(refusal.dump(),
                R"({"code":22,"name":"CupomFiscalNaoAberto","circumstance":"Nenhum cupom fiscal aberto."})");
    }
    if (c.callback) {
      // Every notice, and only the question past the request's answers.
      std::vector<Json> notices, questions;
      for (const Json& message : log.messages) {
        (message["kind"] == "question" ? questions : notices).push_back(message["text"]);
        EXPECT_EQ(message["scheme"], "001");
      }
      EXPECT_EQ(questions.size(), 1u);
      EXPECT_EQ(Json(notices), reply["notices"]);
      EXPECT_EQ(log.innerReply["error"]["code"], "reentrant_call");
    }
  }
  ecf_set_operator(nullptr, nullptr);
  EXPECT_EQ(call("FechaPorta", Json::object())["error"], nullptr) << "usable after the callback";
}

TEST_F(CInterfaceTest, SettingsAreTakenWholeOrNotAtAll) {
  const std::vector<std::pair<std::string, int>> cases = {
      {R"({"decimalSeparator": ".", "thousandSeparator": ","})", 1},
      {R"({"shortDateFormat": "yyyy-mm-dd", "currencyString": "R$", "currencyFormat": 0})", 1},
      {R"({"decimalSeparator": ","})", 0},  // the same as the thousands separator now
      {R"({"decimalSeparator": ",,"})", 0},
      {R"({"currencyFormat": 7})", 0},
      {R"({"decimalSeparador": ","})", 0},
      {R"({"decimalSeparator": )", 0},
      {"[]", 0},
  };
  for (const auto& [json, taken] : cases) {
    EXPECT_EQ(ecf_set_settings_json(json.c_str()), taken) << json;
  }
  startThroughCall();
  call("CarregaTotalizador", {{"args", {"", "001", 0, nullptr}}});
  printer().clearRecord();
  ASSERT_EQ(call("Suprimento", {{"args", {"001", "1234.5"}}})["result"], true);
  const auto items = printer().commandsNamed("EmiteItemNaoFiscal");
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].value("Valor"), "1234.50");  // with the decimal point taken above
}

}  // namespace
}  // namespace ecftest
