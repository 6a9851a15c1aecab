#include "app/project_files_model.h"

#include "app/text_bytes.h"

namespace quorvel::app {

ProjectFilesModel::ProjectFilesModel(UserSettings& settings, QObject* parent)
    : QAbstractListModel(parent), settings_(settings) {
    files_ = settings_.files();
}

void ProjectFilesModel::reload() {
    beginResetModel();
    files_ = settings_.files();
    endResetModel();
}

std::string ProjectFilesModel::fileName(int row) const {
    if (row < 0 || row >= rowCount()) return {};
    return files_[static_cast<std::size_t>(row)].name;
}

void ProjectFilesModel::append(const std::string& name) {
    const int row = rowCount();
    beginInsertRows({}, row, row);
    settings_.addFile(name);
    files_.push_back({name, true});
    endInsertRows();
}

void ProjectFilesModel::setAllEnabled(bool enabled) {
    for (std::size_t i = 0; i < files_.size(); ++i) {
        settings_.setFileEnabled(static_cast<int>(i) + 1, enabled);
        files_[i].enabled = enabled;
    }
    if (!files_.empty()) emit dataChanged(index(0), index(rowCount() - 1), {Qt::CheckStateRole});
}

int ProjectFilesModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(files_.size());
}

QVariant ProjectFilesModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const UserSettings::FileItem& file = files_[static_cast<std::size_t>(index.row())];
    switch (role) {
        case Qt::DisplayRole:
        case Qt::ToolTipRole:
            return textFromBytes(file.name);
        case Qt::CheckStateRole:
            return file.enabled ? Qt::Checked : Qt::Unchecked;
        default:
            return {};
    }
}

bool ProjectFilesModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::CheckStateRole ||
        !checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return false;
    const bool enabled = value.toInt() == Qt::Checked;
    UserSettings::FileItem& file = files_[static_cast<std::size_t>(index.row())];
    if (file.enabled == enabled) return true;
    file.enabled = enabled;
    settings_.setFileEnabled(index.row() + 1, enabled);
    emit dataChanged(index, index, {Qt::CheckStateRole});
    emit fileEnabledChanged(index.row(), enabled);
    return true;
}

Qt::ItemFlags ProjectFilesModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable;
}

}  // namespace quorvel::app
