// The README's picture of the window: a sample archive built here is opened in the real
// window, offscreen, and what the window draws is saved as a PNG. scripts/make-screenshot runs
// it to refresh docs/screenshot.png. A second argument keeps a copy of the sample archive, for
// trying the programs on.
//   window-screenshot OUTPUT.png [ARCHIVE]
#include <libdeflate.h>
#include <stdlib.h>

#include <QApplication>
#include <QPushButton>
#include <cstdio>

#include "../tests/fixtures/mpak_builder.h"
#include "common/files.h"
#include "gui/main_window.h"

namespace fs = std::filesystem;

namespace {

// Answers the open-file prompt with the sample archive; nothing else is asked.
struct SampleDialogs : Dialogs {
    QString archive;
    std::optional<QString> openFile(QWidget*, const QString&, const QString&, const QString&) override {
        return archive;
    }
    std::optional<QString> chooseFolder(QWidget*, const QString&, const QString&) override { return {}; }
    void message(QWidget*, const std::string& text, MessageIcon, const std::string&) override {
        std::fprintf(stderr, "message: %s\n", text.c_str());
    }
    bool question(QWidget*, const std::string&, const std::string&) override { return false; }
    bool openFolder(const fs::path&) override { return false; }
};

// A small game archive: textures and models deflated, the rest stored. Most bytes keep to 16
// values, so that the deflated ones shrink to about two thirds, as game files do.
std::string sampleArchive() {
    const std::pair<const char*, int> files[] = {
        {"textures/terrain/grass01.dds", 87424}, {"textures/terrain/rock02.dds", 131200},
        {"textures/ui/hud_main.dds", 22016},     {"textures/ships/corvette_hull.dds", 349568},
        {"models/ships/corvette.mmod", 48213},   {"models/ships/frigate.mmod", 61877},
        {"models/props/crate_a.mmod", 5120},     {"sounds/engine_loop.fsb", 182340},
        {"sounds/briefing_01.fsb", 402112},      {"levels/canyon_run.lvl", 28764},
        {"scripts/mission01.lua", 7341},         {"scripts/mission02.lua", 9912},
        {"effects/explosion_large.fx", 3307},    {"readme.txt", 412}};
    libdeflate_compressor* compressor = libdeflate_alloc_compressor(6);
    MpakBuilder builder;
    unsigned random = 7;
    for (const auto& [name, size] : files) {
        std::string content;
        while (content.size() < static_cast<std::size_t>(size)) {
            random = random * 1103515245 + 12345;
            content += static_cast<char>((random >> 16) & (content.size() % 7 ? 0x0F : 0xFF));
        }
        const std::string path(name);
        const bool compressed = path.starts_with("textures/") || path.starts_with("models/");
        std::string stored = content;
        if (compressed) {
            stored.resize(libdeflate_deflate_compress_bound(compressor, content.size()));
            stored.resize(
                libdeflate_deflate_compress(compressor, content.data(), content.size(), stored.data(), stored.size()));
        }
        builder.entry(path, stored, MpakEntryOptions().compressed(compressed).originalSize(size));
    }
    libdeflate_free_compressor(compressor);
    return builder.build();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) return std::fputs("usage: window-screenshot OUTPUT.png [ARCHIVE]\n", stderr), 2;
    std::string folderPattern = (fs::temp_directory_path() / "vr-screenshot-XXXXXX").string();
    const fs::path folder = mkdtemp(folderPattern.data());
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("XDG_CONFIG_HOME", folder.c_str(), 1);  // the remembered folder goes here, not to the user's
    QApplication app(argc, argv);

    const fs::path archive = folder / "game" / "Sample.MPAK";
    fs::create_directories(archive.parent_path());
    fs::create_directories(folder / "work");
    writeWholeFile(archive, sampleArchive());
    if (argc == 3) fs::copy_file(archive, argv[2], fs::copy_options::overwrite_existing);
    auto dialogs = std::make_unique<SampleDialogs>();
    dialogs->archive = QString::fromLocal8Bit(archive.string());
    int status = 1;
    {
        MainWindow window(folder / "work", std::move(dialogs));
        window.form().programFolder = VR_APP_DIR;
        if (window.startUp()) {
            window.show();
            window.findChild<QPushButton*>(QStringLiteral("butSelectMPAKfile"))->click();
            QCoreApplication::processEvents();
            status = window.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
        }
    }
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    return status;
}
