// The three table transfers of a conversion, in the order the run calls them.
#pragma once

#include "convert/TableLoop.h"

namespace ktv {

// Vehicle cards: source AracKarti -> target AracKarti, keyed by AracKod.
TableReport Vedaz_AracKarti(TransferContext& ctx);
// Dealer cards: source CariKart -> target CariKart with Tip "BAY", keyed by Tip and Kod.
TableReport Vedaz_CariKart(TransferContext& ctx);
// Stock cards: source StokKarti -> target StokKart, keyed by kind code and Kod.
TableReport Vedaz_StokKart(TransferContext& ctx);

// The one-letter kind code of a stock kind ("Ürün" U, "Ara Ürün" A, "Malzeme" M), or empty text.
std::string StockKindCode(const std::string& kind);
// The dealer state: 0 for exactly "Çalışıyor", 1 for anything else.
int DealerStatu(const std::string& durum);
// A numeric text (or 0) rounded to a whole number, halves to the even neighbour.
Value RoundedWhole(const Value& numericTextOrZero);

} // namespace ktv
