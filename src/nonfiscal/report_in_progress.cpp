#include "nonfiscal/report_in_progress.h"

#include "nonfiscal/report_blocks.h"
#include "nonfiscal/report_primitives.h"

namespace ecf {

ReportInProgress::~ReportInProgress() {
  if (!open_) return;
  try {
    closeDocument(scheme_);
  } catch (...) {
    // The error that brought us here is the one the operator must see.
  }
}

bool ReportInProgress::open() {
  open_ = openManagementReport(scheme_);
  return open_;
}

bool ReportInProgress::openWithoutScheme() {
  open_ = openManagementReport("");
  return open_;
}

bool ReportInProgress::print(ReportBlock& block) {
  const bool accepted = printTextBlock(scheme_, cutBlock(block.text()));
  block.clear();
  return accepted;
}

bool ReportInProgress::close() {
  open_ = false;
  return closeDocument(scheme_);
}

}  // namespace ecf
