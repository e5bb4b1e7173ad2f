#include "nonfiscal/free_text_report.h"

#include "nonfiscal/report_blocks.h"
#include "nonfiscal/report_primitives.h"

namespace ecf {

bool printFreeTextReport(const std::string& scheme, std::string_view text) {
  openManagementReport(scheme);
  for (const std::string& block : chunkFreeText(text)) printTextBlock(scheme, block);
  return closeDocument(scheme);
}

}  // namespace ecf
