// The file names of a folder that match a pattern of masks separated by ";", in the order
// a user expects (natural, locale-aware).
#pragma once

#include <QString>
#include <QStringList>

namespace ktv {

// Names only (no folder). Masks use * and ? and match without regard to letter case, as
// the file lists of the original platform did. Folders and hidden files are left out.
// A folder that cannot be read gives an empty list.
QStringList ListMatchingFiles(const QString& folder, const QString& pattern);

// Sorts names as a file manager does: "Dosya2" before "dosya10".
void SortFileNamesNaturally(QStringList& names);

} // namespace ktv
