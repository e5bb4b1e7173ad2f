// What the management reports read from the host and how they write its values: dataset
// fields as printable text, packets loaded into the data module's datasets, amounts and
// quantities under the host's settings, and the issue line. Currency amounts are
// `currencyText` (nonfiscal/amount_text.h).
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "ecf/dataset.h"
#include "ecf/variant.h"

namespace ecf {

// A field of the current row as text under the host's settings, malformed UTF-8 repaired.
std::string fieldText(const Dataset& dataset, std::string_view field);
// A field of the current row as a number under the host's settings.
double fieldNumber(const Dataset& dataset, std::string_view field);

// A dataset with rows that lacks one of the fields a writer reads is refused with the
// dataset's own error, naming the field, before anything is printed: no half-printed
// report is left open on the printer. A dataset without rows is never read, so it passes.
void requireFields(const Dataset& dataset, std::initializer_list<std::string_view> fields);

// Replaces the dataset's fields and rows with the packet's. Null loads an empty dataset;
// any other value that is not a packet is refused.
void loadPacket(Dataset& dataset, const Variant& packet);

// Fixed notation, at most 15 significant digits, no thousands separator.
std::string fixed2(double value);
std::string fixed3(double value);
// An amount right-aligned in its column. One wider than the column is kept whole: cutting
// it would print a different amount ("R$ 12.345,67" in 10 is not "R$ 12.345,").
// Which to use: a layout hosts already know that right-aligns its amounts with `TamFixoR`
// keeps it, cut and all, so its columns stay where they always were (the receipt footer,
// the closing and withdrawal receipts, the product report, the account statement); the
// tickets and listings set their amounts with `amountColumn`, which never cuts.
std::string amountColumn(std::string_view amount, int width);

// "Data Emissão: " and the current date and time as "dd/mm/yyyy hh:nn:ss", with the
// host's date and time separators.
std::string issueLine();

}  // namespace ecf
