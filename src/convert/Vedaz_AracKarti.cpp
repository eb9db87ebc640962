// Vehicle card transfer: every source vehicle whose code is new becomes a target card.
#include "convert/TransferTable.h"
#include "convert/Transfers.h"

namespace ktv {

namespace {

// Source AracKarti -> target AracKarti, keyed by AracKod.
constexpr KeyColumn kKey[] = {
    {"AracKod", KeyMade::CardKey, "Kod"},
};

constexpr ColumnRow kColumns[] = {
    // target, source, characters kept, conversion
    {"AracKod", "", 0, Conversion::Key},
    {"SurucuAd", "Isim", 50, Conversion::Cut},
    {"AracPlaka", "Plaka", 15, Conversion::Cut},
};

constexpr TransferTable kAracKarti{"AracKarti", "AracKarti", kKey, kColumns};
static_assert(WellFormed(kAracKarti));

} // namespace

TableReport Vedaz_AracKarti(TransferContext& ctx) { return RunTransfer(ctx, kAracKarti); }

} // namespace ktv
