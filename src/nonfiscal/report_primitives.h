// The three printer commands every printed report is made of: open a management report,
// print one block of text into the open document, close whatever document is open.
// Each reports whether the printer accepted it; a refusal has already been logged and
// shown to the operator in the colour scheme.
#pragma once

#include <string>

namespace ecf {

// AbreGerencial for report number 0; the returned text lands in stRetornoFuncao.
bool openManagementReport(const std::string& scheme);
// ImprimeTexto with the text exactly as given: no cut, no split, no conversion.
bool printTextBlock(const std::string& scheme, const std::string& text);
// EncerraDocumento with no parameters.
bool closeDocument(const std::string& scheme);

}  // namespace ecf
