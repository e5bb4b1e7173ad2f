// The lines of a printed report, gathered into one block: 48 characters wide, counted in
// characters and never splitting one. Every layout is written with these names:
//   blankLine  an empty line (its line feed only)
//   spaces     a line of 48 spaces, the blank line the tickets and vouchers feed
//   dashes     a line of 48 "-" (or of as many as a layout asks)
//   centred    a text centred in 48 columns
//   cutLine    a text cut to its first 48 characters, never padded
// Amounts are written with `currencyText` (nonfiscal/amount_text.h) and set in their
// columns as reports/report_values.h says.
#pragma once

#include <string>
#include <string_view>

namespace ecf {

// The width of a printed report line, in characters.
constexpr int kReportLineWidth = 48;

// One block of a report, written in the order of its layout. Every line ends with a single
// line feed, except what `append` and `appendCut` add.
class ReportBlock {
 public:
  ReportBlock& line(std::string_view text);     // as given
  ReportBlock& blankLine() { return line(""); }
  ReportBlock& spaces();
  ReportBlock& dashes(int count = kReportLineWidth);
  ReportBlock& centred(std::string_view text);
  ReportBlock& cutLine(std::string_view text);
  ReportBlock& append(std::string_view text);     // no line feed of its own
  ReportBlock& appendCut(std::string_view text);  // its first 48 characters, as given

  bool empty() const { return text_.empty(); }
  const std::string& text() const { return text_; }
  void clear() { text_.clear(); }

 private:
  std::string text_;
};

}  // namespace ecf
