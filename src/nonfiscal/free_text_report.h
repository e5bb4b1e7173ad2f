// A text handed in by the host, printed as one whole management report.
#pragma once

#include <string>
#include <string_view>

namespace ecf {

// Opens a management report, prints the text in its free-text blocks (uncut) and closes.
// The blocks are printed even when the opening was refused; the result is the closing's.
// An empty text gives a report with nothing between its opening and its closing.
// With `receiptCounter`, the report's COO is read into it right after the opening, so
// the host can file the document under it.
bool printFreeTextReport(const std::string& scheme, std::string_view text,
                         std::string* receiptCounter = nullptr);

}  // namespace ecf
