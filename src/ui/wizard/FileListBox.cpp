// File1 over the shared file listing.
#include "ui/wizard/FileListBox.h"

#include "platform/core/Error.h"
#include "platform/qt/FileListing.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>

namespace ktv {

FileListBox::FileListBox(QWidget* parent)
    : QListWidget(parent), m_pattern(QStringLiteral("*.*")),
      m_path(QDir::toNativeSeparators(QDir::currentPath()))
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    Refresh();
}

void FileListBox::setPattern(const QString& pattern)
{
    m_pattern = pattern;
    Refresh();
}

void FileListBox::setPath(const QString& folder)
{
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        throw Error(76, "Path not found");
    m_path = folder;
    Refresh();
}

void FileListBox::Refresh()
{
    clear();
    addItems(ListMatchingFiles(m_path, m_pattern));
    // A fresh list has no current entry: a double click before any click picks nothing.
    setCurrentRow(-1);
}

QString FileListBox::List(int index) const
{
    const QListWidgetItem* entry = item(index);
    return entry ? entry->text() : QString();
}

int FileListBox::ListIndex() const
{
    return currentItem() && currentItem()->isSelected() ? currentRow() : -1;
}

void FileListBox::setListIndex(int index)
{
    if (index < 0 || index >= count()) {
        setCurrentRow(-1);
        clearSelection();
        return;
    }
    setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
    scrollToItem(item(index));
}

void FileListBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    QListWidget::mouseDoubleClickEvent(event);
    // Only a double click on an entry picks it; blank space below the entries does not.
    if (itemAt(event->position().toPoint()))
        emit entryDoubleClicked();
}

void FileListBox::keyPressEvent(QKeyEvent* event)
{
    // From the keyboard, Enter on the current entry picks it as a double click does.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && currentItem() && !event->isAutoRepeat()) {
        event->accept();
        emit entryDoubleClicked();
        return;
    }
    QListWidget::keyPressEvent(event);
}

} // namespace ktv
