#include "app/ReadWriteIni.h"

#include "app/AppPath.h"
#include "app/ReportError.h"
#include "platform/core/Error.h"
#include "platform/core/ProfileString.h"
#include "platform/core/TextCodec.h"

namespace ktv {

std::string SettingsFilePath() { return ExecutableFolder() + "/Vedaz.ini"; }

std::string ReadWriteIni(const std::string& mode, const std::string& fileName, const std::string& section,
                         const std::string& key, const std::optional<Value>& value)
{
    if (mode.empty())
        return "Mode Hatası";
    if (section.empty())
        return "Secname Hatası";
    if (key.empty())
        return "Keyname Hatası";
    try {
        const std::string upper = text::asciiUpper(mode);
        if (upper == "WRITE") {
            if (!value || value->isNull() || value->toText().empty())
                return "ERROR KeyValue";
            profile::WritePrivateProfileString(section, key, value->toText(), fileName);
        } else if (upper == "GET") {
            // A 255-character buffer: at most 254 characters and the terminating NUL.
            const std::string got = profile::GetPrivateProfileString(section, key, "Failed", 255, fileName);
            if (got.compare(0, 6, "Failed") != 0)
                return got;
        }
    } catch (const Error& e) {
        // A settings file that cannot be written costs only the remembered choices: the
        // session goes on.
        ReportError(e.number(), e.description(), "System: ReadWriteIni", true);
    }
    return {};
}

} // namespace ktv
