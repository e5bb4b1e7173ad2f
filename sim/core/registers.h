// The printer's named registers and the texts the reading commands return. Names
// ignore letter case; indexed registers are written "Name[index]".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/civil_time.h"
#include "core/printer_state.h"

namespace ecfsim {

// "EstadoFiscal": 1 idle, 2 fiscal receipt selling, 4 fiscal receipt paying, 8 fiscal
// receipt paid and waiting to close, 16 non-fiscal receipt, 32 management report,
// 64 linked voucher. Only a pending fiscal receipt starts with 2, 4 or 8.
int fiscalState(const PrinterState& state);
// "Indicadores": the sum of the status flags that hold now.
int indicators(const PrinterState& state, const Date& today);

std::optional<std::int64_t> integerRegister(const PrinterState& state, const DateTime& now,
                                            std::string_view name);
std::optional<Cents> moneyRegister(const PrinterState& state, std::string_view name);
std::optional<std::string> dateRegister(const PrinterState& state, const DateTime& now,
                                        std::string_view name);  // ddmmyy
std::optional<std::string> timeRegister(const DateTime& now, std::string_view name);  // hhmmss
std::optional<std::string> textRegister(const PrinterState& state, std::string_view name);
std::optional<bool> indicatorRegister(const PrinterState& state, const DateTime& now,
                                      std::string_view name);

// Any register's value as plain text (integers in decimal, amounts as "1.234,56", dates
// ddmmyy, times hhmmss, indicators 1/0), or nothing for an unknown name.
std::optional<std::string> registerText(const PrinterState& state, const DateTime& now,
                                        std::string_view name);

// The returned texts of the reading commands.
std::string integerReturn(std::int64_t value);   // ValorInteiro=123
std::string moneyReturn(Cents value);            // ValorMoeda=1.234,56
std::string dateReturn(const std::string& ddmmyy);  // ValorData="150324"
std::string timeReturn(const std::string& hhmmss);  // ValorHora="103000"
std::string textReturn(const std::string& text);    // ValorTexto="VP0000..."
std::string indicatorReturn(bool value);             // ValorIndicador=000000001

}  // namespace ecfsim
