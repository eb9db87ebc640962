// The type of a source file, KTD or PVD, and the year database it is converted into. The
// type travels as this enum from the wizard's list (or the tool's --type) to the run; its
// name is only the list entry's text and the tool's argument.
#pragma once

#include "data/CompanyDatabases.h"

#include <array>
#include <optional>
#include <string_view>

namespace ktv {

// The values are the positions in the type list.
enum class SourceType { Ktd = 0, Pvd = 1 };

// The types in the order of the wizard's type list: a list position (also the number kept
// under KTDPVD in the settings file) is an index into this.
inline constexpr std::array<SourceType, 2> kSourceTypes = {SourceType::Ktd, SourceType::Pvd};

constexpr const char* SourceTypeName(SourceType type) { return type == SourceType::Ktd ? "KTD" : "PVD"; }

// The type named exactly "KTD" or "PVD"; nothing for any other text.
constexpr std::optional<SourceType> SourceTypeFromName(std::string_view name)
{
    for (const SourceType type : kSourceTypes)
        if (name == SourceTypeName(type))
            return type;
    return std::nullopt;
}

// The type at a list position; nothing for -1 (no entry chosen) or a position past the list.
constexpr std::optional<SourceType> SourceTypeAt(int position)
{
    if (position < 0 || position >= static_cast<int>(kSourceTypes.size()))
        return std::nullopt;
    return kSourceTypes[static_cast<std::size_t>(position)];
}

// The list position of a type, -1 for none.
constexpr int PositionOf(std::optional<SourceType> type) { return type ? static_cast<int>(*type) : -1; }

// KTD cards go into KTFIM.mdb, PVD cards into KTCHM.mdb.
constexpr CompanyDatabases::Member TargetMember(SourceType type)
{
    return type == SourceType::Ktd ? CompanyDatabases::Member::Ktfim : CompanyDatabases::Member::Ktchm;
}

} // namespace ktv
