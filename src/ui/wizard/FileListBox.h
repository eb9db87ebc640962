// File1: the list of the file names of one folder that match a pattern, with at most one
// selected entry.
#pragma once

#include <QListWidget>
#include <QString>

namespace ktv {

class FileListBox : public QListWidget {
    Q_OBJECT
public:
    // Until a folder is applied, the list shows every file of the process's current folder.
    explicit FileListBox(QWidget* parent = nullptr);

    QString Path() const { return m_path; }
    // Each setter lists the folder again. A folder that does not exist is an error
    // (ktv::Error 76, "Path not found") and leaves the list as it was.
    void setPattern(const QString& pattern);
    void setPath(const QString& folder);
    void Refresh();

    int ListCount() const { return count(); }
    QString List(int index) const;
    // The selected entry, -1 for none; setting -1 clears the selection.
    int ListIndex() const;
    void setListIndex(int index);

signals:
    // A double click on an entry, or Enter on the current entry (the file pick of the wizard).
    void entryDoubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QString m_pattern;
    QString m_path;
};

} // namespace ktv
