#include "report.h"

#include <fstream>
#include <iostream>

#include "base/utf8_path.h"
#include "paper_tape.h"

namespace ecfhost {
namespace {

std::string listOrNone(const std::vector<std::filesystem::path>& paths) {
  if (paths.empty()) return "(none written)";
  std::string text;
  for (const auto& path : paths) text += (text.empty() ? "" : ", ") + ecf::utf8FromPath(path);
  return text;
}

}  // namespace

void printLocations(const HostSession& host) {
  const Workspace& workspace = host.workspace();
  std::cout << "Tape:             " << listOrNone(workspace.tapes()) << "\n"
            << "Debug log:        " << listOrNone(workspace.debugLogs()) << "\n"
            << "Grand-total file: " << ecf::utf8FromPath(workspace.grandTotalFile())
            << (std::filesystem::exists(workspace.grandTotalFile()) ? "" : " (not written)")
            << "\n";
}

int tapeCommand(const std::string& directory, const std::string& htmlFile) {
  try {
    const Workspace workspace = Workspace::find(directory);
    const auto tapes = workspace.tapes();
    if (tapes.empty()) {
      std::cerr << "ecfhost: " << ecf::utf8FromPath(workspace.printerRoot()) << " holds no tape yet\n";
      return 2;
    }
    std::vector<std::string> documents;
    std::string caption;
    for (const auto& tape : tapes) {
      const std::string text = readWholeFile(tape);
      if (htmlFile.empty()) {
        if (tapes.size() > 1) std::cout << "# " << ecf::utf8FromPath(tape) << "\n";
        std::cout << text;
      }
      for (std::string& document : ecftape::splitDocuments(text)) documents.push_back(std::move(document));
      caption += (caption.empty() ? "" : " · ") + ecf::utf8FromPath(tape);
    }
    if (!htmlFile.empty()) {
      std::ofstream out(ecf::pathFromUtf8(htmlFile), std::ios::binary | std::ios::trunc);
      out << ecftape::tapeHtml(documents, caption);
      out.close();
      if (!out) {
        std::cerr << "ecfhost: cannot write " << htmlFile << "\n";
        return 2;
      }
      std::cout << "Wrote " << documents.size() << " documents to " << htmlFile << "\n";
    }
    return 0;
  } catch (const std::exception& error) {
    std::cerr << "ecfhost: " << error.what() << "\n";
    return 2;
  }
}

}  // namespace ecfhost
