// The one failure type of the program: an error number and a description, as the
// original runtime and database engine reported them.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace ktv {

// The runtime's own numbers for the failures outside the database engine.
namespace runtime_err {
inline constexpr std::int32_t InternalError = 51; // "Internal error"
inline constexpr std::int32_t FileAccess = 75;    // "Path/File access error"
inline constexpr std::int32_t ObjectNotSet = 91;  // "Object variable or With block variable not set"
} // namespace runtime_err

class Error : public std::runtime_error {
public:
    Error(std::int32_t number, std::string description)
        : std::runtime_error(description), m_number(number), m_description(std::move(description))
    {}

    std::int32_t number() const noexcept { return m_number; }
    const std::string& description() const noexcept { return m_description; }

private:
    std::int32_t m_number;
    std::string m_description;
};

} // namespace ktv
