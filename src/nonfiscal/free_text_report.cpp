#include "nonfiscal/free_text_report.h"

#include "config/status.h"
#include "nonfiscal/report_blocks.h"
#include "nonfiscal/report_primitives.h"

namespace ecf {

bool printFreeTextReport(const std::string& scheme, std::string_view text,
                         std::string* receiptCounter) {
  openManagementReport(scheme);
  if (receiptCounter != nullptr) *receiptCounter = readReceiptCounter(scheme);
  for (const std::string& block : chunkFreeText(text)) printTextBlock(scheme, block);
  return closeDocument(scheme);
}

}  // namespace ecf
