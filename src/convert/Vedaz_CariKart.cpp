// Dealer card transfer: every source current account whose code is not yet a dealer card
// ("BAY") in the target becomes one. Cards of other types are neither read nor touched.
#include "convert/TransferTable.h"
#include "convert/Transfers.h"

namespace ktv {

namespace {

// Source CariKart -> target CariKart, keyed by Tip and Kod.
constexpr KeyColumn kKey[] = {
    {"Tip", KeyMade::Text, "BAY"},
    {"Kod", KeyMade::CardKey, "Kod"},
};

constexpr ColumnRow kColumns[] = {
    // target, source, characters kept, conversion
    {"Tip", "", 0, Conversion::Key},
    {"Kod", "", 0, Conversion::Key},
    {"Ad", "Isim", 50, Conversion::Cut},
    {"Yetkili", "Yetkili", 100, Conversion::Cut},
    {"AracKod", "AracKod", 10, Conversion::Cut},
    {"Adres", "Adres", 0, Conversion::Whole},
    {"SemtIlce", "Semt", 50, Conversion::Cut},
    {"Sehir", "Sehir", 50, Conversion::Cut},
    {"Telefon", "TelFaks", 15, Conversion::Cut},
    {"Fax", "TelFaks", 15, Conversion::AsAbove}, // the fax repeats the phone
    {"VergiDaire", "VD", 50, Conversion::Cut},
    {"VergiNo", "VN", 50, Conversion::Cut},
    {"KrediLimit", "Kredi", 0, Conversion::Number},
    {"Statu", "Durum", 0, Conversion::DealerStatu},
};

constexpr TransferTable kCariKart{"CariKart", "CariKart", kKey, kColumns};
static_assert(WellFormed(kCariKart));

} // namespace

int DealerStatu(const std::string& durum) { return durum == "Çalışıyor" ? 0 : 1; }

TableReport Vedaz_CariKart(TransferContext& ctx) { return RunTransfer(ctx, kCariKart); }

} // namespace ktv
