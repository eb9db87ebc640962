#include "app/ReadWriteIni.h"

#include "app/AppPathLayout.h"
#include "app/ReportError.h"
#include "platform/core/Error.h"
#include "platform/core/ProfileString.h"
#include "platform/core/TextCodec.h"

namespace ktv {

namespace {

// The read failure last reported. An unreadable settings file fails every key in the same
// way, and the operator hears of it once.
std::string& lastReadFailure()
{
    static std::string failure;
    return failure;
}

} // namespace

std::string SettingsFilePath() { return SettingsFile(); }

std::string ReadWriteIni(const std::string& mode, const std::string& fileName, const std::string& section,
                         const std::string& key, const std::optional<Value>& value)
{
    if (mode.empty())
        return "Mode Hatası";
    if (section.empty())
        return "Secname Hatası";
    if (key.empty())
        return "Keyname Hatası";
    const std::string upper = text::asciiUpper(mode);
    if (upper == "WRITE") {
        try {
            if (!value || value->isNull() || value->toText().empty())
                return "ERROR KeyValue";
            profile::WritePrivateProfileString(section, key, value->toText(), fileName);
        } catch (const Error& e) {
            // A settings file that cannot be written costs only the remembered choices: the
            // session goes on, and the caller learns that nothing was stored.
            ReportError(e.number(), e.description(), "System: ReadWriteIni", true);
            return kIniWriteFailed;
        }
    } else if (upper == "GET") {
        try {
            // A 255-character buffer: at most 254 characters and the terminating NUL.
            const std::string got = profile::GetPrivateProfileString(section, key, "Failed", 255, fileName);
            lastReadFailure().clear();
            if (got.compare(0, 6, "Failed") != 0)
                return got;
        } catch (const Error& e) {
            // Something that is not a settings file reads as no settings at all.
            const std::string failure = fileName + '\n' + e.description();
            if (failure != lastReadFailure()) {
                lastReadFailure() = failure;
                ReportError(e.number(), e.description(), "System: ReadWriteIni", true);
            }
        }
    }
    return {};
}

} // namespace ktv
