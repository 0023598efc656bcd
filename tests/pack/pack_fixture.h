// A Form over a recording window in a fresh application folder with the work folders and a
// copy of the real zlibc, and helpers to read back what a pack wrote.
#pragma once

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <vector>

#include "common/files.h"
#include "fixtures/recording_window.h"
#include "fixtures/temp_dir.h"
#include "fixtures/zlib_reference.h"
#include "format/archive_tables.h"
#include "shell/app_paths.h"
#include "shell/form.h"

class PackTest : public ::testing::Test {
protected:
    PackTest() : form(window, app.path()) {
        createWorkFolders(form);
        fs::create_symlink(fs::path(VR_APP_DIR) / "zlibc", app / "zlibc");
        window.packFolder = "x.mpak";
    }

    fs::path archive() const { return form.newMpaksPath / "x.mpak"; }
    fs::path source(const std::string& relative) const { return form.extractedFilesPath / "x.mpak" / relative; }
    void writeLibraryToc(const std::string& entryLines) { writeFile(form.libraryPath / "x.mpak.toc", entryLines); }
    void writeLibraryStoc(const std::string& text) { writeFile(form.libraryPath / "x.mpak.stoc", text); }

    std::vector<std::string> filesIn(const fs::path& folder) const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    bool workFilesGone() const {
        return !fs::exists(app / "TOC.bin") && !fs::exists(app / "STOC.bin") && !fs::exists(app / "RAWD.bin");
    }
    ArchiveTables readBack() const { return readArchiveTables(archive(), readArchiveLayout(archive())); }
    // Each archive entry's path and content, inflated where it is compressed.
    std::vector<std::pair<std::string, std::string>> packedFiles() const {
        std::vector<std::pair<std::string, std::string>> files;
        for (const EntrySlot& slot : readBack().entries) {
            std::string data = readFileRange(archive(), static_cast<std::uint64_t>(slot.entryDataOffset),
                                             static_cast<std::uint64_t>(slot.entryStoredSize));
            if (slot.entryCompressed == 1) data = inflateRaw(data, static_cast<std::size_t>(slot.entryOriginalSize));
            files.emplace_back(slot.entryPath, data);
        }
        return files;
    }

    TempDir app;
    RecordingWindow window;
    Form form;
};
