// The folder dialog behind a small interface: the running program opens a dialog of its
// own, tests answer by script.
#pragma once

#include <string>

class QWidget;

namespace ktv {

class FolderBrowser {
public:
    virtual ~FolderBrowser() = default;
    // The chosen folder, or empty text when the user cancels.
    virtual std::string BrowseForFolder(QWidget* owner, const std::string& title,
                                        const std::string& startFolder) = 0;
};

// Opens a FolderDialog modally over the owner.
class QtFolderBrowser final : public FolderBrowser {
public:
    std::string BrowseForFolder(QWidget* owner, const std::string& title,
                                const std::string& startFolder) override;
};

} // namespace ktv
