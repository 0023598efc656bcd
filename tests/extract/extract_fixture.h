// An application folder with its work folders and a copy of the real zlibc, a recording
// window, and archives built byte by byte whose entry table, list and name are loaded as the
// open command loads them.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "common/text.h"
#include "fixtures/mpak_builder.h"
#include "fixtures/recording_window.h"
#include "fixtures/temp_dir.h"
#include "fixtures/zlib_reference.h"
#include "format/archive_tables.h"
#include "shell/form.h"

struct TestEntry {
    std::string path;  // "\" separators, as the entry table holds it
    std::string content;
    bool compressed = false;
};

class ExtractTest : public ::testing::Test {
protected:
    ExtractTest() {
        for (const fs::path* folder : {&form.extractedFilesPath, &form.tempPath}) fs::create_directories(*folder);
        fs::copy_file(fs::path(VR_APP_DIR) / "zlibc", app / "zlibc");
    }

    // Writes the archive into the `game` folder and loads its entry table; no line is selected.
    void loadArchive(const std::vector<TestEntry>& entries, const std::string& name = "x.mpak") {
        MpakBuilder builder;
        for (const TestEntry& e : entries)
            builder.entry(replaceAll(e.path, '\\', '/'), e.compressed ? rawDeflate(e.content) : e.content,
                          MpakEntryOptions()
                              .compressed(e.compressed ? 1 : 0)
                              .originalSize(static_cast<std::int32_t>(e.content.size())));
        form.archivePath = game / name;
        writeFile(form.archivePath, builder.build());
        form.entries = readArchiveTables(form.archivePath, readArchiveLayout(form.archivePath)).entries;
        form.entryCount = static_cast<std::int32_t>(form.entries.size());
        window.archive = name;
        window.clearList();
        for (const EntrySlot& slot : form.entries) window.addListLine(slot.entryPath);
    }

    // Every file below `folder`, by relative path with "/" separators.
    static std::map<std::string, std::string> filesBelow(const fs::path& folder) {
        std::map<std::string, std::string> files;
        for (const auto& item : fs::recursive_directory_iterator(folder))
            if (item.is_regular_file()) files[item.path().lexically_relative(folder).generic_string()] = readFile(item);
        return files;
    }

    TempDir app, game;
    RecordingWindow window;
    Form form{window, app.path()};
};
