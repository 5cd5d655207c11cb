#include "app/Qelopen.h"

#include "common/FileName.h"
#include "core/FolderListing.h"
#include "core/RatingFile.h"
#include "core/TextEncoding.h"

#include <QAbstractItemView>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

#include <filesystem>
#include <vector>

namespace {

// Qt's folder model leaves out names that are not UTF-8, so a judge's file
// unpacked from a Windows zip (`G\xfcnther.qel`) would not be listed. These
// rows add the working folder's ones after Qt's, shown by the programs'
// display rule; choosing one gives its shown path, which fileNameBytes
// turns back into the file's bytes. They map to no row of Qt's model, so
// nothing of Qt's (rename, delete, enter) reaches them.
class NamesFromOtherPcs : public QIdentityProxyModel {
  public:
    NamesFromOtherPcs(QFileSystemModel& files, const QString& folder, QStringList names,
                      QObject* parent)
        : QIdentityProxyModel(parent), folder_(files.index(folder)), folderPath_(folder),
          names_(std::move(names))
    {
    }

    bool isExtra(const QModelIndex& index) const
    {
        return index.isValid() && index.model() == this && index.internalPointer() == tag();
    }
    QString shownPath(const QModelIndex& index) const
    {
        return QDir(folderPath_).filePath(names_.at(index.row() - ownRows(parent(index))));
    }

    int rowCount(const QModelIndex& parent) const override
    {
        if (isExtra(parent))
            return 0;
        return ownRows(parent) + (isFolder(parent) ? static_cast<int>(names_.size()) : 0);
    }
    bool hasChildren(const QModelIndex& parent) const override
    {
        return !isExtra(parent) && rowCount(parent) > 0;
    }
    QModelIndex index(int row, int column, const QModelIndex& parent) const override
    {
        if (isExtra(parent))
            return {};
        const int own = ownRows(parent);
        if (row < own || !isFolder(parent))
            return QIdentityProxyModel::index(row, column, parent);
        if (row - own >= names_.size() || column < 0 || column >= columnCount(parent))
            return {};
        return createIndex(row, column, tag());
    }
    QModelIndex parent(const QModelIndex& child) const override
    {
        return isExtra(child) ? mapFromSource(folder_) : QIdentityProxyModel::parent(child);
    }
    QModelIndex sibling(int row, int column, const QModelIndex& index) const override
    {
        return isExtra(index) ? this->index(row, column, parent(index))
                              : QIdentityProxyModel::sibling(row, column, index);
    }
    QModelIndex mapToSource(const QModelIndex& proxy) const override
    {
        return isExtra(proxy) ? QModelIndex() : QIdentityProxyModel::mapToSource(proxy);
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        return isExtra(index) ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren
                              : QIdentityProxyModel::flags(index);
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!isExtra(index))
            return QIdentityProxyModel::data(index, role);
        if (role == QFileSystemModel::FilePathRole)
            return shownPath(index);
        if (index.column() != 0)
            return {};
        switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
        case Qt::AccessibleTextRole:
        case QFileSystemModel::FileNameRole:
            return names_.at(index.row() - ownRows(parent(index)));
        case Qt::DecorationRole:
            return QFileIconProvider().icon(QFileIconProvider::File);
        default:
            return {};
        }
    }

  private:
    static void* tag()
    {
        static char extra;
        return &extra;
    }
    int ownRows(const QModelIndex& parent) const { return QIdentityProxyModel::rowCount(parent); }
    bool isFolder(const QModelIndex& parent) const
    {
        return folder_.isValid() && mapToSource(parent) == folder_;
    }

    QPersistentModelIndex folder_;
    QString folderPath_;
    QStringList names_;
};

// The working folder's rating files whose names Qt cannot list, as shown.
QStringList namesQtLeavesOut()
{
    QStringList names;
    for (const std::string& name : folderlisting::regularFiles(".", {ratingfile::kExtension}))
        if (!isValidUtf8(name))
            names << common::displayFileName(name);
    names.sort(Qt::CaseInsensitive);
    return names;
}

// A double click or Enter on an added row opens it, as on Qt's own rows
// (Qt's handler would look for a folder behind it); choosing one puts its
// name into the name box.
class OpensAddedRows : public QObject {
  public:
    OpensAddedRows(QFileDialog& dialog, NamesFromOtherPcs& rows)
        : QObject(&dialog), dialog_(dialog), rows_(rows)
    {
        for (auto* view : dialog.findChildren<QAbstractItemView*>()) {
            if (view->model() != &rows)
                continue;
            view->installEventFilter(this);
            view->viewport()->installEventFilter(this);
            connect(view->selectionModel(), &QItemSelectionModel::currentChanged, this,
                    [this](const QModelIndex& current) {
                        auto* name = dialog_.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                        if (rows_.isExtra(current) && name)
                            name->setText(current.data().toString());
                    });
        }
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        QAbstractItemView* view = qobject_cast<QAbstractItemView*>(watched);
        QModelIndex index;
        if (!view && event->type() == QEvent::MouseButtonDblClick) {
            view = qobject_cast<QAbstractItemView*>(watched->parent());
            if (view)
                index = view->indexAt(static_cast<QMouseEvent*>(event)->position().toPoint());
        } else if (view && event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter)
                index = view->currentIndex();
        }
        if (!rows_.isExtra(index))
            return false;
        view->setCurrentIndex(index);
        static_cast<QDialog&>(dialog_).accept(); // public on the base only
        return true;
    }

  private:
    QFileDialog& dialog_;
    NamesFromOtherPcs& rows_;
};

} // namespace

std::optional<std::string> runQelopen(QWidget* parent, std::string& lastChoice)
{
    // Kept as bytes: a folder name that is not UTF-8 must survive the trip.
    const std::filesystem::path workingFolder = std::filesystem::current_path();
    QFileDialog dialog(parent);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::ReadOnly);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QStringLiteral("*.qel"));
    const QStringList otherNames = namesQtLeavesOut();
    if (auto* files = dialog.findChild<QFileSystemModel*>(); files && !otherNames.isEmpty()) {
        auto* rows = new NamesFromOtherPcs(*files, QDir::currentPath(), otherNames, &dialog);
        dialog.setProxyModel(rows);
        new OpensAddedRows(dialog, *rows);
    }
    dialog.setDirectory(QDir::currentPath());
    if (!lastChoice.empty())
        dialog.selectFile(common::displayFileName(lastChoice));
    const bool accepted = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
    std::error_code ignored;
    std::filesystem::current_path(workingFolder, ignored);
    if (!accepted)
        return std::nullopt;
    lastChoice = common::fileNameBytes(dialog.selectedFiles().constFirst());
    return lastChoice;
}
