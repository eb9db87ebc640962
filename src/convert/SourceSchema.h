// The tables a conversion reads from a source file, as a schema for making source files
// (sample sources, tests). Every column is text, as the product family's files keep them.
#pragma once

namespace ktv {

inline constexpr const char* kSourceTablesSchema = R"(
TABLE AracKarti
  Kod      TEXT(50)
  Isim     TEXT(100)
  Plaka    TEXT(50)
TABLE CariKart
  Kod      TEXT(50)
  Isim     TEXT(100)
  Yetkili  TEXT(100)
  AracKod  TEXT(50)
  Adres    MEMO
  Semt     TEXT(50)
  Sehir    TEXT(50)
  TelFaks  TEXT(50)
  VD       TEXT(50)
  VN       TEXT(50)
  Kredi    TEXT(50)
  Durum    TEXT(50)
TABLE StokKarti
  Tip      TEXT(50)
  Kod      TEXT(50)
  Isim     TEXT(100)
  Birim1   TEXT(50)
  Katsayi  TEXT(50)
  Birim2   TEXT(50)
  KDV      TEXT(50)
  Duzey    TEXT(50)
)";

} // namespace ktv
