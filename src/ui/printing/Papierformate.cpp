#include "printing/Papierformate.h"

#include <array>

namespace {

struct Papierformat
{
    int code;
    QPageSize::PageSizeId id;
};

// Codes 1 to 41 in order. Code 14 (Folio, 8.5 x 13 in) has no Qt id of that
// size: Qt's Folio is 210 x 330 mm, so it is built as a custom size below.
// The C, D and E sheets are the ANSI sizes, not the architectural ones.
constexpr std::array<Papierformat, 41> formate{{
    {1, QPageSize::Letter},
    {2, QPageSize::LetterSmall},
    {3, QPageSize::Tabloid},
    {4, QPageSize::Ledger},
    {5, QPageSize::Legal},
    {6, QPageSize::Statement},
    {7, QPageSize::ExecutiveStandard},
    {8, QPageSize::A3},
    {9, QPageSize::A4},
    {10, QPageSize::A4Small},
    {11, QPageSize::A5},
    {12, QPageSize::JisB4},
    {13, QPageSize::JisB5},
    {14, QPageSize::Custom},
    {15, QPageSize::Quarto},
    {16, QPageSize::Imperial10x14},
    {17, QPageSize::Tabloid},
    {18, QPageSize::Note},
    {19, QPageSize::Envelope9},
    {20, QPageSize::Envelope10},
    {21, QPageSize::Envelope11},
    {22, QPageSize::Envelope12},
    {23, QPageSize::Envelope14},
    {24, QPageSize::AnsiC},
    {25, QPageSize::AnsiD},
    {26, QPageSize::AnsiE},
    {27, QPageSize::EnvelopeDL},
    {28, QPageSize::EnvelopeC5},
    {29, QPageSize::EnvelopeC3},
    {30, QPageSize::EnvelopeC4},
    {31, QPageSize::EnvelopeC6},
    {32, QPageSize::EnvelopeC65},
    {33, QPageSize::EnvelopeB4},
    {34, QPageSize::EnvelopeB5},
    {35, QPageSize::EnvelopeB6},
    {36, QPageSize::EnvelopeItalian},
    {37, QPageSize::EnvelopeMonarch},
    {38, QPageSize::EnvelopePersonal},
    {39, QPageSize::FanFoldUS},
    {40, QPageSize::FanFoldGerman},
    {41, QPageSize::FanFoldGermanLegal},
}};

struct Papierquelle
{
    int code;
    QPrinter::PaperSource quelle;
};

constexpr std::array<Papierquelle, 12> quellen{{
    {1, QPrinter::OnlyOne},
    {2, QPrinter::Lower},
    {3, QPrinter::Middle},
    {4, QPrinter::Manual},
    {5, QPrinter::Envelope},
    {6, QPrinter::EnvelopeManual},
    {7, QPrinter::Auto},
    {8, QPrinter::Tractor},
    {9, QPrinter::SmallFormat},
    {10, QPrinter::LargeFormat},
    {11, QPrinter::LargeCapacity},
    {14, QPrinter::Cassette},
}};

} // namespace

std::optional<QPageSize> SeitenformatAusCode(int code)
{
    for (const Papierformat &f : formate) {
        if (f.code != code)
            continue;
        if (f.id == QPageSize::Custom)
            return QPageSize(QSizeF(8.5, 13.0), QPageSize::Inch, QStringLiteral("Folio"), QPageSize::ExactMatch);
        return QPageSize(f.id);
    }
    return std::nullopt;
}

std::optional<int> CodeAusSeitenformat(const QPageSize &format)
{
    if (!format.isValid())
        return std::nullopt;
    for (const Papierformat &f : formate) {
        const std::optional<QPageSize> kandidat = SeitenformatAusCode(f.code);
        if (kandidat && kandidat->isEquivalentTo(format))
            return f.code;
    }
    return std::nullopt;
}

std::optional<QPrinter::PaperSource> PapierquelleAusCode(int code)
{
    for (const Papierquelle &q : quellen) {
        if (q.code == code)
            return q.quelle;
    }
    return std::nullopt;
}

std::optional<int> CodeAusPapierquelle(QPrinter::PaperSource quelle)
{
    for (const Papierquelle &q : quellen) {
        if (q.quelle == quelle)
            return q.code;
    }
    return std::nullopt;
}
