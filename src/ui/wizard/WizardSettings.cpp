// Reading and writing the wizard's settings through the one settings routine.
#include "ui/wizard/WizardSettings.h"

#include "app/ReadWriteIni.h"
#include "app/Tools.h"
#include "platform/core/NumberFormat.h"
#include "ui/wizard/WizardModel.h"

#include <cmath>
#include <filesystem>

namespace ktv {

namespace {

constexpr const char* kSection = "CEVRIM";

bool exists(const std::string& file)
{
    std::error_code ec;
    return std::filesystem::exists(file, ec);
}

// An empty stored value comes back as "."; the box then shows empty text.
std::string restored(const std::string& settingsFile, const char* key)
{
    std::string value = N_Ts(ReadWriteIni("GET", settingsFile, kSection, key));
    return value == "." ? std::string() : value;
}

// The text written for a value: "." stands for empty text.
void fillEmpty(std::string& value, bool& changed)
{
    if (N_Ts(Value(value)).empty()) {
        value = ".";
        changed = true;
    }
}

} // namespace

void readSourceSettings(const std::string& settingsFile, WizardModel& model)
{
    if (!exists(settingsFile))
        return;
    model.folder = restored(settingsFile, "KLASOR");
    model.file = restored(settingsFile, "DOSYA");
}

std::string readServerSetting(const std::string& settingsFile)
{
    if (!exists(settingsFile))
        return {};
    return restored(settingsFile, "SUNUCU");
}

std::optional<double> readStoredType(const std::string& settingsFile)
{
    if (!exists(settingsFile))
        return std::nullopt;
    const Value stored = N_TVAL(Value(ReadWriteIni("GET", settingsFile, kSection, "KTDPVD")));
    return std::nearbyint(parseNumber(stored.toText()).value_or(0.0));
}

void writeSourceSettings(const std::string& settingsFile, WizardModel& model)
{
    model.settingsSaved = true;
    bool changed = false;
    auto write = [&](const char* key, const Value& value) {
        return ReadWriteIni("WRITE", settingsFile, kSection, key, value) != kIniWriteFailed;
    };
    fillEmpty(model.folder, changed);
    bool written = write("KLASOR", N_T(Value(model.folder)));
    fillEmpty(model.file, changed);
    written = written && write("DOSYA", N_T(Value(model.file)));
    // The list position: 0, 1, or -1 when nothing is chosen.
    written = written && write("KTDPVD", N_TVAL(Value(PositionOf(model.type))));
    if (changed || !written)
        model.settingsSaved = false;
}

} // namespace ktv
