// A management report while a writer prints it: opened, printed block by block (each
// block cut to 620 characters) and closed. Should an error escape the writer while the
// printer holds the report open (a host row lacking a field, a value that cannot be
// read), the report is closed on the way out, so bad host data never leaves the printer
// stuck inside an open document.
#pragma once

#include <string>
#include <utility>

#include "nonfiscal/report_lines.h"

namespace ecf {

class ReportInProgress {
 public:
  explicit ReportInProgress(std::string scheme) : scheme_(std::move(scheme)) {}
  ~ReportInProgress();
  ReportInProgress(const ReportInProgress&) = delete;
  ReportInProgress& operator=(const ReportInProgress&) = delete;

  const std::string& scheme() const { return scheme_; }

  // AbreGerencial; true when the printer accepted it.
  bool open();
  // The same with an empty colour scheme, for a report whose opening must not show a
  // refusal in the host's scheme; the blocks and the close still show theirs.
  bool openWithoutScheme();
  // Prints the block's first 620 characters and empties the block; true when accepted.
  bool print(ReportBlock& block);
  // EncerraDocumento; true when accepted. After it nothing is left to close.
  bool close();
  // For a writer whose report stays open for its caller to go on with.
  void leaveOpen() { open_ = false; }

 private:
  std::string scheme_;
  bool open_ = false;  // the printer accepted the opening and nothing closed it yet
};

}  // namespace ecf
