#include "shell/shell_ops.h"

#include <algorithm>
#include <vector>

#include "common/failure.h"
#include "common/files.h"
#include "shell/form.h"

void clearFileList(Window& window) {
    window.clearList();
    window.setItemCountText("0 Items");
}

void clearListAndLog(Window& window) {
    clearFileList(window);
    window.setStatus("");
    window.showLogText("", Caret::Start);
}

void ShowLog(Form& form) { form.window.showLogText(form.logText, Caret::End); }

void appendLogLine(Form& form, const std::string& line) {
    form.logText += line;
    form.logText += "\r\n";
}

void appendLeftOutLine(Form& form, const std::string& line) {
    appendLogLine(form, line);
    ++form.entriesLeftOutCount;
}

void showResultsFolder(Form& form, const fs::path& folder) {
    form.resultsFolder = folder;
    form.window.setStatus("Results in " + pathText(folder));
}

Outcome showFailure(Form& form, const std::string& text) {
    form.window.showMessage(text, MessageIcon::Exclamation, kAppTitle);
    return Outcome::failed(text);
}

Outcome reportError(Form& form, const std::string& command, const std::string& description) {
    return showFailure(form, errorBoxText(command, description));
}

void showNotice(Form& form, const std::string& text) {
    form.window.showMessage(text, MessageIcon::Information, kAppTitle);
}

Outcome finishedOutcome(const Form& form) {
    Outcome outcome;
    if (form.entriesLeftOutCount > 0) outcome.kind = Outcome::Kind::EntriesLeftOut;
    return outcome;
}

Outcome runGuarded(Form& form, const std::string& command, const std::function<void()>& body,
                   const std::function<void()>& cleanup) {
    std::string description;
    try {
        body();
        return {};
    } catch (const std::exception& e) {
        description = e.what();
    }
    if (cleanup) cleanup();
    form.window.setBusy(false);
    return reportError(form, command, description);
}

void ClearTempFolder(Form& form, const FileRemover& remove) {
    for (const fs::path& file : filesDirectlyIn(form.tempPath)) {
        std::error_code removeError;
        bool removed = remove ? remove(file, removeError) : fs::remove(file, removeError);
        if (!removed || removeError)
            failFile("delete", file, removeError ? removeError.message() : "the file could not be deleted");
        form.window.yield();
    }
}

void clearTempFolderQuietly(Form& form, const FileRemover& remove) {
    try {
        ClearTempFolder(form, remove);
    } catch (const std::exception&) {
    }
}
