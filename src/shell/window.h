// The Window port: everything a command may do to the window. MainWindow is the real one;
// tests use a recording fake. Texts are byte strings; the window shows them without
// changing what the commands hold.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

enum class MessageIcon { None, Information, Exclamation, Critical };
enum class Caret { Start, End };

// An open-file prompt: its title and its one filter, "description|*.ext".
struct FilePrompt {
    std::string title;
    std::string filter;
};

class Window {
public:
    virtual ~Window() = default;

    // File list List1, item count Label2, archive name Label5, pack folder Label13
    virtual void clearList() = 0;
    virtual void addListLine(const std::string& line) = 0;
    virtual int listLineCount() const = 0;
    virtual std::string listLine(int index) const = 0;
    virtual std::vector<int> selectedLines() const = 0;  // ascending
    virtual void selectAllLines() = 0;
    // The same selection asked cheaply, once per entry of a long extraction; the defaults ask
    // selectedLines(). nextSelectedLine gives -1 when no line after `index` is selected.
    virtual int selectedLineCount() const { return static_cast<int>(selectedLines().size()); }
    virtual int nextSelectedLine(int index) const {
        for (int line : selectedLines())
            if (line > index) return line;
        return -1;
    }
    virtual void repaintList() = 0;
    virtual void setItemCountText(const std::string& text) = 0;
    // The list scrolls sideways far enough to show a line of this many characters.
    virtual void setListExtent(int characters) = 0;
    // Label5 and Label13 show the names that the form keeps (setArchiveName, setPackFolderName).
    virtual void showArchiveName(const std::string& name) = 0;
    virtual void showPackFolderName(const std::string& name) = 0;

    // Status line Text1, log view RichTextBox1, progress bar Label9, busy pointer
    virtual void setStatus(const std::string& text) = 0;
    virtual std::string logViewText() const = 0;  // exactly the bytes last shown
    virtual void showLogText(const std::string& text, Caret where) = 0;
    virtual void focusLog() = 0;
    virtual void setProgress(float fraction) = 0;  // of the progress bar's full width
    virtual void setBusy(bool busy) = 0;
    virtual void repaintWindow() = 0;

    // Options in Frame1
    virtual bool autoAddNewFiles() const = 0;
    virtual bool compressAllFiles() const = 0;

    // Platform dialogs; prompts return nothing when cancelled. promptForFile starts in the
    // remembered folder and remembers the chosen file's folder; browseFolder starts in ExtractedFiles.
    virtual void showMessage(const std::string& text, MessageIcon icon, const std::string& title) = 0;
    // A question with Yes and No; true for Yes.
    virtual bool askYesNo(const std::string& text, const std::string& title) = 0;
    virtual std::optional<std::filesystem::path> promptForFile(const FilePrompt& prompt) = 0;
    virtual std::optional<std::filesystem::path> browseFolder(const std::string& title) = 0;
    // Starts the file manager on the folder, not waited for; false when none could be started.
    virtual bool openFolder(const std::filesystem::path& folder) = 0;
    // Lets pending window messages run; the window may run them, and paint, only at display rate.
    virtual void yield() = 0;
};
