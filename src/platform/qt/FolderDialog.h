// The folder dialog of our own: a tree of folders only, a title line, a status line that
// shows the path of the selected folder, OK and Cancel.
#pragma once

#include <QDialog>
#include <QString>

class QFileSystemModel;
class QTreeView;
class QLabel;
class QPushButton;

namespace ktv {

class FolderDialog : public QDialog {
    Q_OBJECT
public:
    // A start folder that does not exist leaves the dialog's default (nothing selected).
    FolderDialog(QWidget* owner, const QString& title, const QString& startFolder);

    // The folder selected in the tree (empty when none).
    QString selectedPath() const;
    QString statusText() const;
    QTreeView* tree() const { return m_tree; }

private:
    void selectionChanged();

    QFileSystemModel* m_model;
    QTreeView* m_tree;
    QLabel* m_status;
    QPushButton* m_ok;
};

} // namespace ktv
