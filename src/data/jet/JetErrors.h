// The engine errors of the Jet module, with the texts the original engine showed.
#pragma once

#include "platform/core/Error.h"

#include <string>

namespace ktv::jet {

Error fileNotFound(const std::string& path);
Error notValidPassword();
Error tableNotFound(const std::string& name);
Error unrecognizedFormat(const std::string& path);
Error corrupt(const std::string& path, const std::string& detail);
Error readOnly();

} // namespace ktv::jet
