#include "gui/file_list_view.h"

#include <QStyledItemDelegate>
#include <algorithm>

#include "gui/file_list_model.h"

// Rows as wide as the list's horizontal extent, which never shrinks while the program runs. The
// list takes its scroll range from its rows' width; it is widened here rather than by setting
// the range, which Qt recomputes on every layout.
class WideRows : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void widenTo(int pixels) {
        if (pixels <= width_) return;
        width_ = pixels;
        emit sizeHintChanged(QModelIndex());  // the view lays its rows out again
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        width_ = std::max(width_, size.width());  // a row once measured keeps the list as wide
        return {width_, size.height()};
    }

private:
    mutable int width_ = 0;
};

FileListView::FileListView(QWidget* parent)
    : QListView(parent), model_(new FileListModel(this)), rows_(new WideRows(this)) {
    setModel(model_);
    setItemDelegate(rows_);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setUniformItemSizes(true);
    setTextElideMode(Qt::ElideNone);  // long lines scroll sideways instead
}

void FileListView::clear() { model_->clear(); }

void FileListView::append(const std::string& line) { model_->append(line); }

int FileListView::lineCount() const { return model_->rowCount(); }

std::string FileListView::line(int index) const { return model_->line(index); }

// The selected rows as [top, bottom] intervals, in order and without overlaps. Working from
// the selection's ranges costs per range, not per row, and the extract command asks once per
// entry of lists of thousands of lines.
std::vector<std::pair<int, int>> FileListView::selectedIntervals() const {
    std::vector<std::pair<int, int>> ranges;
    for (const QItemSelectionRange& range : selectionModel()->selection())
        if (range.isValid()) ranges.emplace_back(range.top(), range.bottom());
    std::sort(ranges.begin(), ranges.end());
    std::vector<std::pair<int, int>> merged;
    for (const auto& range : ranges) {
        if (!merged.empty() && range.first <= merged.back().second + 1)
            merged.back().second = std::max(merged.back().second, range.second);
        else
            merged.push_back(range);
    }
    return merged;
}

std::vector<int> FileListView::selectedLines() const {
    std::vector<int> lines;
    for (const auto& [top, bottom] : selectedIntervals())
        for (int row = top; row <= bottom; ++row) lines.push_back(row);
    return lines;
}

int FileListView::selectedLineCount() const {
    int count = 0;
    for (const auto& [top, bottom] : selectedIntervals()) count += bottom - top + 1;
    return count;
}

int FileListView::nextSelectedLine(int index) const {
    for (const auto& [top, bottom] : selectedIntervals())
        if (bottom > index) return std::max(top, index + 1);
    return -1;
}

void FileListView::selectLines(const std::vector<int>& lines) {
    // One range per run of neighbouring lines: a pattern may pick thousands.
    QItemSelection selection;
    for (std::size_t first = 0, last = 0; first < lines.size(); first = ++last) {
        while (last + 1 < lines.size() && lines[last + 1] == lines[last] + 1) ++last;
        selection.select(model_->index(lines[first]), model_->index(lines[last]));
    }
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    if (lines.empty()) return;
    selectionModel()->setCurrentIndex(model_->index(lines.front()), QItemSelectionModel::NoUpdate);
    scrollTo(model_->index(lines.front()), QAbstractItemView::PositionAtTop);
}

void FileListView::widenToCharacters(int characters) {
    // Room for that many characters of the fixed-pitch font, and a little margin.
    const int charWidth = fontMetrics().horizontalAdvance(QLatin1Char('0'));
    rows_->widenTo(characters * charWidth + 2 * charWidth);
}
