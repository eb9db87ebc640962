// The wizard's data: what page 1 names as the source, what page 2 names as the target, and
// whether the remembered settings hold a change. Each box of the pages stores into its field
// as it changes; the form's handlers change the fields and the pages show them; the
// conversion request is built from it.
#pragma once

#include "convert/SourceType.h"

#include <optional>
#include <string>

namespace ktv {

struct ConversionRequest;

// The entries of the lists: the company codes 1 to 20 and the years (the types are kSourceTypes).
inline constexpr int kCompanyCodes = 20;
inline constexpr int kFirstYear = 2000;
inline constexpr int kLastYear = 2010;

struct WizardModel {
    // Page 1: the source.
    std::string folder;
    std::string file;
    std::optional<SourceType> type; // none while no entry of the type list is chosen
    // Page 2: the target.
    std::string code;
    std::string name;
    std::string year; // empty when no year is chosen

    // True while folder, file and type hold no change that is not in the settings file.
    bool settingsSaved = true;
    // True from the form's load until the end of its first activation: changes made then are
    // the stored settings coming back, not the operator's.
    bool loading = true;

    // Page 1's settings change through these: a value other than the one held is a change
    // to save, unless it comes while loading.
    void setFolder(const std::string& value) { change(folder, value); }
    void setFile(const std::string& value) { change(file, value); }
    void setType(std::optional<SourceType> value) { change(type, value); }

    // The text of the type list's chosen entry, empty when none is chosen.
    std::string typeName() const;

    // What the convert button starts.
    ConversionRequest request(const std::string& formCaption) const;

private:
    template <class T> void change(T& field, const T& value)
    {
        if (field == value)
            return;
        field = value;
        if (!loading)
            settingsSaved = false;
    }
};

} // namespace ktv
