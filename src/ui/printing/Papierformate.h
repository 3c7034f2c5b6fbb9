#pragma once

#include <QPageSize>
#include <QPrinter>
#include <optional>

// The Windows paper size and paper source codes the program keeps in its
// settings (DrGroesse, DrBehaelter) and the Qt page sizes and paper sources they
// stand for.

// The page size of paper code 1 to 41; nothing for any other code.
std::optional<QPageSize> SeitenformatAusCode(int code);
// The first paper code 1 to 41 whose page size has the same dimensions.
std::optional<int> CodeAusSeitenformat(const QPageSize &format);

// The paper source of bin code 1 to 11 or 14; nothing for any other code.
std::optional<QPrinter::PaperSource> PapierquelleAusCode(int code);
std::optional<int> CodeAusPapierquelle(QPrinter::PaperSource quelle);
