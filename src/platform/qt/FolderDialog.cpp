// The folder dialog: QFileSystemModel limited to folders, shown in a tree rooted at the
// file system root.
#include "platform/qt/FolderDialog.h"

#include "platform/qt/FolderBrowser.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace ktv {

FolderDialog::FolderDialog(QWidget* owner, const QString& title, const QString& startFolder)
    : QDialog(owner), m_model(new QFileSystemModel(this)), m_tree(new QTreeView(this)),
      m_status(new QLabel(this)), m_ok(nullptr)
{
    setObjectName(QStringLiteral("FolderDialog"));
    setWindowTitle(title);
    setModal(true);
    resize(340, 400);

    auto* titleLabel = new QLabel(title, this);
    titleLabel->setObjectName(QStringLiteral("Lbl_Title"));
    titleLabel->setWordWrap(true);

    // Only folders can be chosen, so only folders are listed.
    m_model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    m_model->setReadOnly(true);
    const QModelIndex root = m_model->setRootPath(QDir::rootPath());

    m_tree->setObjectName(QStringLiteral("Tree_Klasor"));
    m_tree->setModel(m_model);
    m_tree->setHeaderHidden(true);
    for (int column = 1; column < m_model->columnCount(); ++column)
        m_tree->hideColumn(column);
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    // The root folder itself is a choice too, so the tree starts above it.
    m_tree->setRootIndex(root.parent());
    m_tree->expand(root);

    m_status->setObjectName(QStringLiteral("Lbl_Status"));
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* buttons = new QDialogButtonBox(this);
    m_ok = buttons->addButton(QStringLiteral("Tamam"), QDialogButtonBox::AcceptRole);
    QPushButton* cancel = buttons->addButton(QStringLiteral("İptal"), QDialogButtonBox::RejectRole);
    m_ok->setObjectName(QStringLiteral("Cmd_Tamam"));
    cancel->setObjectName(QStringLiteral("Cmd_Iptal"));
    m_ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(titleLabel);
    layout->addWidget(m_tree, 1);
    layout->addWidget(m_status);
    layout->addWidget(buttons);

    connect(m_tree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { selectionChanged(); });

    // The start folder is selected once the tree exists; a missing one keeps the default.
    const QFileInfo start(startFolder);
    if (!startFolder.isEmpty() && start.isDir()) {
        const QModelIndex index = m_model->index(start.absoluteFilePath());
        if (index.isValid()) {
            for (QModelIndex up = index.parent(); up.isValid(); up = up.parent())
                m_tree->expand(up);
            m_tree->setCurrentIndex(index);
            m_tree->scrollTo(index, QAbstractItemView::PositionAtCenter);
        }
    }
    selectionChanged();
    m_tree->setFocus();
}

QString FolderDialog::selectedPath() const
{
    const QModelIndex index = m_tree->currentIndex();
    return index.isValid() ? QDir::toNativeSeparators(m_model->filePath(index)) : QString();
}

QString FolderDialog::statusText() const { return m_status->text(); }

void FolderDialog::selectionChanged()
{
    const QString path = selectedPath();
    // Without a folder there is nothing to answer with, so OK waits for a selection.
    m_ok->setEnabled(!path.isEmpty());
    if (!path.isEmpty())
        m_status->setText(path);
}

std::string QtFolderBrowser::BrowseForFolder(QWidget* owner, const std::string& title,
                                             const std::string& startFolder)
{
    FolderDialog dialog(owner, QString::fromStdString(title), QString::fromStdString(startFolder));
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedPath().toStdString();
}

} // namespace ktv
