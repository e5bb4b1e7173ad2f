// Reading the printer's named registers and cutting values out of returned texts.
#pragma once

#include <string>
#include <string_view>

namespace ecf {

// The cuts below leave the value they return in stRetornoFuncao.
//
// Everything after the first `prefixLength` characters ("ValorInteiro=" is 13).
std::string valueAfterPrefix(std::string_view returned, std::size_t prefixLength);
// A LeMoeda answer: everything after "ValorMoeda=", less the thousands points the printer
// may send (the decimal comma stays).
std::string moneyValue(std::string_view returned);
// Date, time and text answers carry their value between delimiters after an 11-character
// prefix: the characters from position 12, less the last one.
std::string delimitedValue(std::string_view returned);
// A LeTexto answer ("ValorTexto=" and a quote, the text, a quote): the text, trimmed.
std::string textValue(std::string_view returned);
// The text between the first `startKey` plus a double quote and the first occurrence of
// a double quote, a space and `endKey`; "" when the layout is not there.
std::string quotedValueBefore(std::string_view returned, std::string_view startKey,
                              std::string_view endKey);

// Reads one register with the given command and parameter, logs the command line
// "Comando Executado: <command> - <param> - <name>", judges it and returns the whole
// returned text; false when the printer refused.
bool readRegister(const std::string& command, const std::string& parameter,
                  const std::string& registerName, const std::string& scheme, bool showMessage,
                  std::string& returned, const std::string& debugLine);

// LeInteiro / LeMoeda without the export boundary, for the module's own operations.
std::string readInteger(const std::string& registerName, bool showMessage);
std::string readMoney(const std::string& registerName, bool showMessage);
// LeIndicadores: whether flag `selector` (1 = the highest, 15 = the lowest) is on in the
// printer's Indicadores register. A failed read or an answer that is not a number sets none.
bool readFlag(int selector);
// GetValue: a printer amount with two implied decimals ("1.234,56" → 1234.56). Throws
// ConversionError for a text without digits.
double amountValue(std::string_view text);
// A money or percentage text as the printer writes it ("1234,56", "18,00": decimal comma,
// thousands points already removed), whatever the host's own notation. Throws
// ConversionError for anything else, an empty text included.
double printerNumber(std::string_view text);

}  // namespace ecf
