// List1: one line per archive entry, several selectable at once, scrolled sideways rather
// than cut short. Its sideways extent only grows while the program runs.
#pragma once

#include <QListView>
#include <string>
#include <utility>
#include <vector>

class FileListModel;
class WideRows;

class FileListView : public QListView {
    Q_OBJECT
public:
    explicit FileListView(QWidget* parent);

    void clear();
    void append(const std::string& line);
    int lineCount() const;
    std::string line(int index) const;  // the exact bytes given

    std::vector<int> selectedLines() const;  // ascending
    int selectedLineCount() const;
    int nextSelectedLine(int index) const;  // -1 when no line after `index` is selected
    // Selects exactly these lines (ascending) and scrolls the first of them into view.
    void selectLines(const std::vector<int>& lines);

    // Room for a line of this many characters of the list's font.
    void widenToCharacters(int characters);

private:
    std::vector<std::pair<int, int>> selectedIntervals() const;

    FileListModel* model_;
    WideRows* rows_;
};
