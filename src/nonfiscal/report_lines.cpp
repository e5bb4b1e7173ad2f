#include "nonfiscal/report_lines.h"

#include "base/textlayout.h"
#include "base/utf8.h"

namespace ecf {
namespace {

std::string firstCharactersOfLine(std::string_view text) {
  return charSubstr(text, 0, static_cast<std::size_t>(kReportLineWidth));
}

}  // namespace

ReportBlock& ReportBlock::line(std::string_view text) {
  text_ += text;
  text_ += '\n';
  return *this;
}

ReportBlock& ReportBlock::spaces() { return line(std::string(kReportLineWidth, ' ')); }

ReportBlock& ReportBlock::dashes(int count) { return line(replicate("-", count)); }

ReportBlock& ReportBlock::centred(std::string_view text) {
  return line(centre(text, kReportLineWidth));
}

ReportBlock& ReportBlock::cutLine(std::string_view text) {
  return line(firstCharactersOfLine(text));
}

ReportBlock& ReportBlock::append(std::string_view text) {
  text_ += text;
  return *this;
}

ReportBlock& ReportBlock::appendCut(std::string_view text) {
  return append(firstCharactersOfLine(text));
}

}  // namespace ecf
