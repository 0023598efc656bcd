#include "gui/file_list_model.h"

int FileListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(lines_.size());
}

QVariant FileListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount()) return {};
    const std::string& line = lines_[static_cast<std::size_t>(index.row())];
    return QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
}

void FileListModel::clear() {
    beginResetModel();
    lines_.clear();
    endResetModel();
}

void FileListModel::append(const std::string& line) {
    const int row = rowCount();
    beginInsertRows(QModelIndex(), row, row);
    lines_.push_back(line);
    endInsertRows();
}

std::string FileListModel::line(int row) const {
    return row >= 0 && row < rowCount() ? lines_[static_cast<std::size_t>(row)] : std::string();
}
