// Stock card transfer: cards of the three known kinds become target cards keyed by kind
// code and code; every other kind is skipped.
#include "convert/TransferTable.h"
#include "convert/Transfers.h"

#include "data/ColumnType.h"
#include "platform/core/NumberFormat.h"

namespace ktv {

namespace {

// Source StokKarti -> target StokKart, keyed by kind code and Kod.
constexpr KeyColumn kKey[] = {
    {"Tip", KeyMade::StockKindCode, "Tip"},
    {"Kod", KeyMade::CardKey, "Kod"},
};

constexpr ColumnRow kColumns[] = {
    // target, source, characters kept, conversion
    {"Tip", "", 0, Conversion::Key},
    {"Kod", "", 0, Conversion::Key},
    {"Ad", "Isim", 50, Conversion::Cut},
    {"Birim1", "Birim1", 10, Conversion::Cut},
    {"Katsayi", "Katsayi", 0, Conversion::WholeNumber},
    {"Birim2", "Birim2", 10, Conversion::Cut},
    {"KDV", "KDV", 0, Conversion::WholeNumber},
    {"Durum", "Duzey", 3, Conversion::Cut},
};

constexpr TransferTable kStokKart{"StokKarti", "StokKart", kKey, kColumns};
static_assert(WellFormed(kStokKart));

} // namespace

std::string StockKindCode(const std::string& kind)
{
    if (kind == "Ürün")
        return "U";
    if (kind == "Ara Ürün")
        return "A";
    if (kind == "Malzeme")
        return "M";
    return {};
}

Value RoundedWhole(const Value& numericTextOrZero)
{
    const auto number = parseNumber(numericTextOrZero.toText());
    if (!number)
        return Value(0);
    // Banker's rounding, as the runtime's conversion to a whole number does.
    const double r = dao::roundHalfEven(*number);
    if (r >= -9.2e18 && r <= 9.2e18)
        return Value(static_cast<std::int64_t>(r));
    return Value(r); // far out of range: the column refuses it with an overflow
}

TableReport Vedaz_StokKart(TransferContext& ctx) { return RunTransfer(ctx, kStokKart); }

} // namespace ktv
