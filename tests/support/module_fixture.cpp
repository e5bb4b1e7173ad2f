#include "support/module_fixture.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "base/dateformat.h"
#include "base/env.h"
#include "base/utf8_path.h"
#include "platform/test_platform.h"

namespace ecftest {
namespace {

// With the separator, as the module takes a directory.
std::string makeTempDirectory(const char* prefix) {
  return ecf::withTrailingSeparator(ecf::utf8FromPath(testplatform::makeScratchDirectory(prefix)));
}

std::string makeMemoryTempDirectory(const char* prefix) {
  return ecf::withTrailingSeparator(
      ecf::utf8FromPath(testplatform::makeMemoryScratchDirectory(prefix)));
}

// A fixed, unremarkable working morning, so dates in texts are predictable.
const ecf::DateTime kStartOfTest = ecf::DateTime::fromParts(2026, 12, 8, 10, 0, 0);

}  // namespace

bool ScriptedOperator::answer(const ecf::OperatorMessage& message) {
  messages_.push_back(message);
  // Only a question's answer matters; a notice never takes one from the script.
  if (message.letter2 != "S") return false;
  if (answers_.empty()) return defaultAnswer_;
  const bool next = answers_.front();
  answers_.pop_front();
  return next;
}

std::vector<std::string> ScriptedOperator::texts() const {
  std::vector<std::string> all;
  for (const auto& message : messages_) all.push_back(message.text);
  return all;
}

void ModuleTest::SetUp() {
  hostDir_ = makeTempDirectory("ecf-host");
  // The printer's memory on tmpfs where there is one, so the suite stays fast.
  printerRoot_ = makeMemoryTempDirectory("ecf-printers");
  port_ = "ecf-test";
  testplatform::setEnvironment("ECFSIM_ROOT", printerRoot_);
  printer_.attach(printerRoot_, port_);

  ecf_SetHostDirectory(hostDir_.c_str());
  ecf_SetSettings(ecf::HostSettings::brazilian());
  ecf_SetOperator([this](const ecf::OperatorMessage& message) { return operator_.answer(message); });
  ecf_SetClock([this] { return now_; });
  setClock(kStartOfTest);
}

void ModuleTest::TearDown() {
  FechaPorta();
  ecf_SetOperator(nullptr);
  ecf_SetClock(nullptr);
  ecf_SetSettings(ecf::HostSettings::brazilian());
  std::error_code ignored;
  std::filesystem::remove_all(ecf::pathFromUtf8(hostDir_), ignored);
  std::filesystem::remove_all(ecf::pathFromUtf8(printerRoot_), ignored);
}

ecf::Variant ModuleTest::startBag() const {
  return ecf::makeBag({{"CDFILIAL", "1"},
                       {"CDCAIXA", "1"},
                       {"NRSERIEIMP", "SIM0001"},
                       {"NRSERIE", "SIM0001"},
                       {"ESQUEMA", "001"},
                       {"ESQUEMACOR", "001"},
                       {"CDPORTAIMPFIS", port_},
                       {"PORTAIMPFIS", port_}});
}

bool ModuleTest::start() {
  ecf::Variant bag = startBag();
  return StartImpFiscal(bag);
}

void ModuleTest::setClock(const ecf::DateTime& now) {
  now_ = now;
  printer_.setClock(now);
}

void ModuleTest::useDecimalPoint() { ecf_SetSettings(ecf::HostSettings::decimalPoint()); }
void ModuleTest::useDecimalComma() { ecf_SetSettings(ecf::HostSettings::brazilian()); }

std::vector<std::string> ModuleTest::debugLines() const {
  const std::string path =
      hostDir_ + "impdebug" + ecf::formatDateTime("MMYY", now_, ecf::HostSettings{}) + ".txt";
  std::ifstream in(ecf::pathFromUtf8(path), std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  const std::string text = content.str();
  // A logged text may hold line feeds of its own (a receipt footer): an entry ends where
  // its " - date time" ending is.
  static const std::regex ending(R"( - \d\d/\d\d/\d{4} \d\d:\d\d:\d\d\n)");
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (auto it = std::sregex_iterator(text.begin(), text.end(), ending);
       it != std::sregex_iterator(); ++it) {
    const auto position = static_cast<std::size_t>(it->position());
    lines.push_back(text.substr(start, position - start));
    start = position + static_cast<std::size_t>(it->length());
  }
  return lines;
}

void ModuleTest::markLog() { logMark_ = debugLines().size(); }

std::vector<std::string> ModuleTest::newDebugLines() const {
  std::vector<std::string> lines = debugLines();
  if (logMark_ >= lines.size()) return {};
  return {lines.begin() + static_cast<std::ptrdiff_t>(logMark_), lines.end()};
}

bool ModuleTest::logContains(const std::string& line) const {
  for (const std::string& logged : debugLines()) {
    if (logged == line) return true;
  }
  return false;
}

std::vector<std::string> ModuleTest::printedTexts() {
  std::vector<std::string> texts;
  for (const RecordedCommand& print : printer().commandsNamed("ImprimeTexto")) {
    texts.push_back(print.value("TextoLivre"));
  }
  return texts;
}

std::string ModuleTest::printerCoo() {
  char text[16];
  std::snprintf(text, sizeof text, "%06d", printer().state()["counters"]["coo"].get<int>());
  return text;
}

}  // namespace ecftest
