// Where the program finds its own files and keeps the operator's: the templates and samples,
// the settings file Vedaz.ini and the company data folder DATA.
//
// Portable (the program folder as the build or the archive lays it out, and writable): all of
// them in the program folder, as AppPath gives it.
// Installed (the executable in a bin/ folder with ../share/ktvedaz beside it): the templates
// and samples in <prefix>/share/ktvedaz; Vedaz.ini in $XDG_CONFIG_HOME/ktvedaz (default
// ~/.config/ktvedaz) and DATA in $XDG_DATA_HOME/ktvedaz (default ~/.local/share/ktvedaz).
// A portable folder the operator cannot write keeps its templates and samples but puts
// Vedaz.ini and DATA into the same per-user folders.
// KTVEDAZ_DATA, when set, names the DATA folder in every layout (a company folder shared by
// several operators).
//
// InitAppPath settles the layout with AppPath; the wizard and the tool both start from their
// executable's folder and so agree.
#pragma once

#include <string>

namespace ktv {

enum class Layout {
    Portable,  // everything in the program folder
    Installed, // templates in <prefix>/share/ktvedaz, the operator's files in the per-user folders
    ReadOnly,  // templates in the program folder, the operator's files in the per-user folders
};

// The layout of the program folder InitAppPath was given (Portable before it is called).
Layout ProgramLayout();

// The folder of the template databases SABIT.mdx, KTFIM.mdx and KTCHM.mdx.
std::string TemplateFolder();

// The folder of the sample sources (ornek.ktd, ornek.pvd).
std::string SampleFolder();

// The company data folder: SABIT.mdb and <code>/<year>/KTFIM.mdb, KTCHM.mdb below it.
std::string DataFolder();

// The settings file Vedaz.ini. Outside the program folder its folder is made when missing.
std::string SettingsFile();

// Settles the layout of a program folder; InitAppPath calls it. Environment:
// KTVEDAZ_DATA, XDG_CONFIG_HOME, XDG_DATA_HOME, HOME.
void InitLayout(const std::string& folder);

} // namespace ktv
