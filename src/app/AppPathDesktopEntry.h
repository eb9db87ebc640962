// The desktop entry of the portable program folder (ktvedaz.desktop beside the wizard).
// A desktop entry can only name its program and its icon by absolute paths, so the entry is
// pointed at the folder it lies in whenever the wizard starts there: an unpacked or moved
// folder then starts from its entry and shows its icon.
#pragma once

#include <string>

namespace ktv {

// The Exec= value that runs the program at this absolute path: quoted and escaped as desktop
// entries want it when the path holds a blank or another reserved character.
std::string DesktopExecValue(const std::string& program);

// A string value of a desktop entry (backslash, line breaks and tabs escaped).
std::string DesktopStringValue(const std::string& text);

// Gives the entry <folder>/ktvedaz.desktop the Exec= and Icon= lines of <folder>/ktvedaz and
// <folder>/ktvedaz.png; the rest of the entry is kept. Leaves a missing entry, one that is
// already right and a folder that cannot be written alone; returns whether it wrote the entry.
bool PointDesktopEntryAt(const std::string& folder);

} // namespace ktv
