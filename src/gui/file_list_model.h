// The file list's lines, held once as the bytes the commands gave; the view asks for the text
// of the rows it shows.
#pragma once

#include <QAbstractListModel>
#include <string>
#include <vector>

class FileListModel : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    void clear();
    void append(const std::string& line);
    // The exact bytes of a line; empty for a row that does not exist.
    std::string line(int row) const;

private:
    std::vector<std::string> lines_;
};
