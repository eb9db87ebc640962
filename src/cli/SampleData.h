// Realistic Turkish master data for sample sources: vehicles, current accounts and stock
// items, with the awkward cases real files have (Null values, long codes, codes that
// collide after cutting, a code holding a quote, unknown stock kinds). Deterministic for a seed.
#pragma once

#include "app/Value.h"

#include <random>
#include <string>
#include <utility>
#include <vector>

namespace ktv::cli {

using SampleRow = std::vector<std::pair<std::string, Value>>;

class SampleData {
public:
    explicit SampleData(unsigned seed) : m_rng(seed) {}
    SampleRow vehicle(long i);
    SampleRow account(long i);
    SampleRow stock(long i);

private:
    const char* pick(const std::vector<const char*>& list);
    int between(int lo, int hi);
    bool chance(int percent);
    std::string code(const char* prefix, long i);
    std::string personName();
    std::string phone();

    std::mt19937 m_rng;
};

// The source tables' columns, in order.
extern const std::vector<std::string> kVehicleColumns;
extern const std::vector<std::string> kAccountColumns;
extern const std::vector<std::string> kStockColumns;

} // namespace ktv::cli
