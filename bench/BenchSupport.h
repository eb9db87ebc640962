// What the benchmarks share: a program folder with the templates, and the conversion
// request they all time (a KTD source into company 1, year 2005, without the question).
#pragma once

#include "convert/ConversionRun.h"

#include <filesystem>
#include <fstream>
#include <string>

namespace ktv::bench {

// The processor's name as /proc/cpuinfo gives it, for the machine line of a benchmark.
inline std::string cpuModel()
{
    std::ifstream info("/proc/cpuinfo");
    for (std::string line; std::getline(info, line);)
        if (line.rfind("model name", 0) == 0)
            return line.substr(line.find(':') + 2);
    return "unknown processor";
}

inline std::filesystem::path programFolder(const std::filesystem::path& base,
                                           const std::filesystem::path& templates)
{
    std::filesystem::create_directories(base);
    for (const char* t : {"SABIT.mdx", "KTFIM.mdx", "KTCHM.mdx"})
        std::filesystem::copy_file(templates / t, base / t,
                                   std::filesystem::copy_options::overwrite_existing);
    return base;
}

inline ConversionRequest benchRequest(const std::filesystem::path& source)
{
    ConversionRequest r;
    r.sourceType = ktv::SourceType::Ktd;
    r.folder = source.parent_path().string();
    r.fileName = source.filename().string();
    r.companyCode = "1";
    r.companyName = "Bench";
    r.year = "2005";
    r.askConfirmation = false;
    return r;
}

} // namespace ktv::bench
