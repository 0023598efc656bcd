// An application folder with its work folders and a copy of the real zlibc, a recording
// window, and archives built byte by byte whose entry table, list and name are loaded as the
// open command would load them.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "common/text.h"
#include "extract/test_data.h"
#include "fixtures/mpak_builder.h"
#include "fixtures/recording_window.h"
#include "fixtures/temp_dir.h"
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

    // Writes the archive into the `game` folder and loads it; no line is selected.
    void loadArchive(const std::vector<TestEntry>& entries, const std::string& name = "x.mpak") {
        MpakBuilder builder;
        std::vector<EntrySlot> slots;
        std::int32_t rawdOffset = 4;  // copy offsets count from the RAWD tag
        for (const TestEntry& e : entries) {
            std::string stored = e.compressed ? rawDeflate(e.content) : e.content;
            builder.entry(replaceAll(e.path, '\\', '/'), stored,
                          MpakEntryOptions()
                              .compressed(e.compressed ? 1 : 0)
                              .originalSize(static_cast<std::int32_t>(e.content.size()))
                              .rawdOffset(rawdOffset));
            EntrySlot slot;
            slot.entryPath = e.path;
            slot.entryDataOffset = rawdOffset;
            slot.entryStoredSize = static_cast<std::int32_t>(stored.size());
            slot.entryOriginalSize = static_cast<std::int32_t>(e.content.size());
            slot.entryCompressed = e.compressed ? 1 : 0;
            slot.entryCopies = 1;
            slots.push_back(slot);
            rawdOffset += slot.entryStoredSize;
        }
        for (EntrySlot& slot : slots) slot.entryDataOffset += builder.rawdStart();
        form.archivePath = game / name;
        writeFile(form.archivePath, builder.build());
        form.entries = slots;
        form.entryCount = static_cast<std::int32_t>(slots.size());
        window.archive = name;
        window.clearList();
        for (const EntrySlot& slot : slots) window.addListLine(slot.entryPath);
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
