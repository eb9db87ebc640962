#include "cli/SampleData.h"

#include <cstdio>

namespace ktv::cli {

const std::vector<std::string> kVehicleColumns = {"Kod", "Isim", "Plaka"};
const std::vector<std::string> kAccountColumns = {"Kod",   "Isim",    "Yetkili", "AracKod", "Adres", "Semt",
                                                  "Sehir", "TelFaks", "VD",      "VN",      "Kredi", "Durum"};
const std::vector<std::string> kStockColumns = {"Tip",     "Kod",    "Isim", "Birim1",
                                                "Katsayi", "Birim2", "KDV",  "Duzey"};

namespace {

const std::vector<const char*> kFirst = {"Ahmet",  "Mehmet", "Ayşe", "Fatma",  "Çağlar", "Gülşen", "İsmail",
                                         "Şükrü",  "Öznur",  "Ümit", "Ilgaz",  "Doğan",  "Hülya",  "Işıl",
                                         "Gökhan", "Şeyma",  "Ömer", "Çiğdem", "İrem",   "Barış"};
const std::vector<const char*> kLast = {"Yılmaz",  "Kaya",   "Demir", "Çelik",   "Şahin", "Öztürk", "Aydın",
                                        "Özdemir", "Arslan", "Doğan", "Kılıç",   "Çetin", "Koç",    "Kurt",
                                        "Şimşek",  "Güneş",  "Işık",  "Erdoğdu", "Ünal",  "Ağaoğlu"};
const std::vector<const char*> kCompanies = {
    "Akdeniz Gıda Ltd. Şti.", "Boğaziçi Dağıtım A.Ş.", "Çukurova Tarım Ürünleri",      "Ege Süt Mamülleri",
    "Güneydoğu Ticaret",      "İç Anadolu Pazarlama",  "Karadeniz Fındık Kooperatifi", "Marmara Toptan Gıda",
    "Öz Şölen Bayilik",       "Uğur Market Zinciri"};
const std::vector<const char*> kStreets = {
    "Atatürk Cad.", "İnönü Sok.",    "Cumhuriyet Bulvarı", "Gazi Mustafa Kemal Cad.",
    "Çiçek Sok.",   "Şehitler Cad.", "Bağdat Cad.",        "Üniversite Yolu"};
const std::vector<const char*> kDistricts = {"Kadıköy", "Üsküdar",    "Beşiktaş", "Çankaya", "Karşıyaka",
                                             "Nilüfer", "Odunpazarı", "Şahinbey", "Bornova", "Keçiören"};
const std::vector<const char*> kCities = {"İstanbul",  "Ankara", "İzmir",     "Bursa",      "Eskişehir",
                                          "Gaziantep", "Muğla",  "Çanakkale", "Diyarbakır", "Şanlıurfa"};
const std::vector<const char*> kStates = {"Çalışıyor", "Çalışıyor", "Çalışıyor", "Pasif",
                                          "çalışıyor", "Kapandı",   ""};
const std::vector<const char*> kKinds = {"Ürün",    "Ürün",   "Ara Ürün", "Malzeme",
                                         "Malzeme", "Hizmet", "ürün",     "Demirbaş"};
const std::vector<const char*> kGoods = {"Süt 1 Lt",      "Beyaz Peynir", "Kaşar Peyniri", "Tereyağı",
                                         "Yoğurt 500 g",  "Ayran 200 ml", "Şişe Kapağı",   "Karton Kutu",
                                         "Etiket Rulosu", "Çökelek"};
const std::vector<const char*> kUnits = {"ADET", "KG", "LT", "KOLİ", "PAKET", "GR"};
const std::vector<const char*> kLevels = {"KRITIK", "NORMAL", "YÜKSEK", "DÜŞÜK", ""};
const std::vector<const char*> kFactors = {"12", "24", "6", "2,5", "2.5", "3.5", "1", "x", ""};
const std::vector<const char*> kVat = {"18", "8", "1", "20", "10"};
const std::vector<const char*> kCredit = {"1500", "25000", "0", "abc", "7500,50", "100000"};
const std::vector<const char*> kPlateLetters = {"A", "AB", "ABC", "FK", "TR", "ŞE", "ÇD"};

} // namespace

const char* SampleData::pick(const std::vector<const char*>& list)
{
    return list[std::uniform_int_distribution<std::size_t>(0, list.size() - 1)(m_rng)];
}

int SampleData::between(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_rng); }

bool SampleData::chance(int percent) { return between(1, 100) <= percent; }

std::string SampleData::code(const char* prefix, long i)
{
    char buf[48];
    // Every 50th code, the second one first, is longer than 10 characters, and the code after
    // it repeats its first 10 characters ("ARC000001-UZUN-KOD", "ARC000001-B"), so the cut to
    // 10 makes them collide: a sample of three records already holds a collision.
    if (i % 50 == 1)
        std::snprintf(buf, sizeof buf, "%s%06ld-UZUN-KOD", prefix, i);
    else if (i % 50 == 2)
        std::snprintf(buf, sizeof buf, "%s%06ld-B", prefix, i - 1);
    else
        std::snprintf(buf, sizeof buf, "%s%06ld", prefix, i);
    std::string c = buf;
    if (i == 3)
        c = std::string(prefix) + "O'NEIL"; // a code holding a quote
    if (i % 23 == 7)
        c = "  " + c + " "; // blanks around, as hand-typed codes have
    return c;
}

std::string SampleData::personName() { return std::string(pick(kFirst)) + " " + pick(kLast); }

std::string SampleData::phone()
{
    char buf[40];
    std::snprintf(buf, sizeof buf, "0%03d %03d %02d %02d", between(212, 488), between(200, 999),
                  between(10, 99), between(10, 99));
    std::string p = buf;
    if (chance(20))
        p += " / " + std::string(buf); // phone and fax in one column, longer than 15 characters
    return p;
}

SampleRow SampleData::vehicle(long i)
{
    char plate[40];
    std::snprintf(plate, sizeof plate, "%02d %s %d", between(1, 81), pick(kPlateLetters), between(10, 9999));
    return {
        {"Kod", i % 211 == 5 ? Value(Null{}) : Value(code("ARC", i))},
        {"Isim", chance(5) ? Value(Null{}) : Value("  " + personName() + " ")},
        {"Plaka", chance(3) ? Value(Null{}) : Value(std::string(plate))},
    };
}

SampleRow SampleData::account(long i)
{
    const std::string address =
        std::string(pick(kStreets)) + " No: " + std::to_string(between(1, 250)) +
        (chance(30)
             ? " Kat: " + std::to_string(between(1, 12)) + " Daire: " + std::to_string(between(1, 40)) +
                   " (depo girişi arka sokaktan, yükleme saatleri 08:00-17:00 arası)"
             : "");
    char vn[16];
    std::snprintf(vn, sizeof vn, "%010d", between(100000000, 999999999));
    return {
        {"Kod", Value(code("BAY", i))},
        {"Isim", Value(pick(kCompanies))},
        {"Yetkili", chance(10) ? Value(Null{}) : Value(personName())},
        {"AracKod", chance(30) ? Value(Null{}) : Value(code("ARC", between(0, 999)))},
        {"Adres", Value(address)},
        {"Semt", Value(pick(kDistricts))},
        {"Sehir", Value(pick(kCities))},
        {"TelFaks", Value(phone())},
        {"VD", Value(std::string(pick(kDistricts)) + " V.D.")},
        {"VN", Value(std::string(vn))},
        {"Kredi", chance(5) ? Value(Null{}) : Value(pick(kCredit))},
        {"Durum", chance(5) ? Value(Null{}) : Value(pick(kStates))},
    };
}

SampleRow SampleData::stock(long i)
{
    Value kind = chance(4) ? Value(Null{}) : Value(pick(kKinds));
    if (i % 50 == 1 || i % 50 == 2)
        kind = Value("Ürün"); // the codes that collide once cut share their kind too: one card
    return {
        {"Tip", kind},
        {"Kod", Value(code("STK", i))},
        {"Isim", Value(pick(kGoods))},
        {"Birim1", Value(pick(kUnits))},
        {"Katsayi", chance(5) ? Value(Null{}) : Value(pick(kFactors))},
        {"Birim2", Value(pick(kUnits))},
        {"KDV", chance(5) ? Value(Null{}) : Value(pick(kVat))},
        {"Duzey", Value(pick(kLevels))},
    };
}

} // namespace ktv::cli
