// PackIt: the library .stoc groups, then one TOC entry and its data per staged file (in the
// byte order of the staged names, so a folder always packs into the same archive), the
// auto-added STOC groups, and last the header and the three chunks written under a
// temporary name in NewMPAKs that replaces the old archive only when complete.
#include "pack/mpak_writer.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "format/library_readers.h"
#include "common/bytes.h"
#include "common/failure.h"
#include "common/files.h"
#include "common/text.h"
#include "format/mpak_records.h"
#include "pack/plain_name.h"
#include "pack/staged_name.h"
#include "shell/form.h"
#include "shell/shell_ops.h"

namespace {

constexpr std::size_t kRawdCopyBlock = 8192;

// Stored data of a compressed staged file: its zlib stream without the 2-byte header and the
// 4-byte trailer, that is the raw deflate data.
constexpr std::size_t kZlibHeaderBytes = 2, kZlibWrapperBytes = 6;

class ArchiveWriting {
public:
    explicit ArchiveWriting(Form& form)
        : form_(form),
          tocPath_(form.appFolder / "TOC.bin"),
          stocPath_(form.appFolder / "STOC.bin"),
          rawdPath_(form.appFolder / "RAWD.bin") {}

    std::int16_t run() {
        form_.stocEntryCount = 0;
        std::string caption = form_.window.packFolderName();
        if (!isPlainName(caption))
            throw Failure("'" + caption + "' is not a plain folder name; the new archive would not lie in NewMPAKs.");
        outputPath_ = form_.newMpaksPath / caption;

        stoc_ = openWorkFile(stocPath_);
        if (!writeLibraryGroups(caption)) {
            abandon();
            return kPackAborted;
        }
        toc_ = openWorkFile(tocPath_);
        rawd_ = openWorkFile(rawdPath_);

        std::vector<fs::path> staged = filesDirectlyIn(form_.tempPath);
        if (staged.size() > kMaxArchiveEntries)
            throw Failure("Temp holds " + std::to_string(staged.size()) + " staged files; an archive holds at most " +
                          std::to_string(kMaxArchiveEntries) + " files.");
        for (const fs::path& file : staged) packStagedFile(file, staged.size());

        for (WorkFile* work : {toc_.get(), rawd_.get(), stoc_.get()}) {
            work->close();
            form_.window.yield();
        }
        writeArchive();
        cleanUp();
        return kPackDone;
    }

    // Closes what is open and removes the work files, the partial archive and the staged
    // files; every failure here is ignored.
    void abandon() {
        toc_.reset(), stoc_.reset(), rawd_.reset(), output_.reset();
        cleanUp();
    }

private:
    // Whatever had the work file's name before is replaced, a planted link included; the
    // window runs after such a deletion.
    std::unique_ptr<WorkFile> openWorkFile(const fs::path& path) {
        std::error_code ec;
        bool existed = fs::exists(fs::symlink_status(path, ec));
        reached_.push_back(path);
        auto file = std::make_unique<WorkFile>(path);
        if (existed) form_.window.yield();
        return file;
    }

    // The groups of the library .stoc, if there is one. False when a group header is not a
    // number: that has been shown and the pack ends.
    bool writeLibraryGroups(const std::string& caption) {
        fs::path library = form_.libraryPath / (caption + ".stoc");
        std::error_code ec;
        if (!fs::exists(library, ec)) {
            if (std::string_view("0345").find(caption.front()) == std::string_view::npos)
                showNotice(form_,
                           "Caution.\r\n\r\nNo library .stoc file found for this .MPAK.\r\n\r\n"
                           "Library .stoc can be created by opening original .MPAK file again.");
            return true;
        }
        StocLibrary parsed = parseStocLibrary(readWholeFile(library));
        if (parsed.error) {
            form_.window.showMessage(stocHeaderErrorText(*parsed.error), MessageIcon::Exclamation, kAppTitle);
            return false;
        }
        for (const StocLibraryGroup& group : parsed.groups) {
            if (group.names.empty()) continue;  // a header of 0 introduces no names
            std::string bytes;
            // The names actually found: a last group cut short by the end of the text is
            // written with the count it has, so that the reader does not run into RAWD.
            appendStocGroup(bytes, group.names,
                            "The library .stoc group at line " + std::to_string(group.headerLineNumber));
            stoc_->write(bytes);
            countStocGroup();
        }
        return true;
    }

    // Every group counts, a group of one as well, so that the reader reads them all back.
    void countStocGroup() { form_.stocEntryCount = toInt16(form_.stocEntryCount + 1LL, "the number of STOC groups"); }

    void packStagedFile(const fs::path& file, std::size_t total) {
        std::string display = file.filename().string();
        StagedName staged = parseStagedName(display);
        std::string line =
            "Packing " + std::to_string(form_.filesPackedCount + 1) + "/" + std::to_string(total) + ": " + display;
        form_.window.setStatus(line);
        appendLogLine(form_, line);

        std::string data = readWholeFile(file);
        std::string_view stored = data;
        if (staged.compressed) {
            if (data.size() < kZlibWrapperBytes)
                throw Failure("The staged file '" + display + "' is " + std::to_string(data.size()) +
                              " bytes long, too short to be a zlib stream.");
            stored = stored.substr(kZlibHeaderBytes, data.size() - kZlibWrapperBytes);
        }
        if (stored.size() > static_cast<std::size_t>(INT32_MAX))
            throw Failure("The staged file '" + display + "' stores " + std::to_string(stored.size()) +
                          " bytes; an archive entry holds at most 2147483647 bytes.");
        auto storedSize = static_cast<std::int32_t>(stored.size());

        // Offsets count from the RAWD tag and must stay within a signed 32-bit value.
        long long rawdEnd = 4 + rawd_->position() + static_cast<long long>(storedSize) * staged.copies;
        if (rawdEnd > INT32_MAX)
            throw Failure("Packing '" + display + "' makes the archive's data larger than 2147483647 bytes, " +
                          "more than an archive can address.");

        std::string entry;
        appendTocEntryHead(entry, staged.tocName, storedSize, staged.originalSize, staged.compressed, staged.copies);
        for (int copy = 0; copy < staged.copies; ++copy) {
            appendI32(entry, static_cast<std::int32_t>(rawd_->position() + 4));
            rawd_->write(stored);
        }
        toc_->write(entry);

        if (form_.window.autoAddNewFiles() && staged.newFile) {
            std::string group;
            appendStocGroup(group, {staged.tocName, std::string(afterLast(staged.tocName, '/'))},
                            "The STOC group of new file '" + staged.tocName + "'");
            stoc_->write(group);
            countStocGroup();
        }
        form_.window.yield();
        form_.filesPackedCount = toInt16(form_.filesPackedCount + 1LL, "the number of packed files");
    }

    void writeArchive() {
        std::string toc = readWholeFile(tocPath_);
        std::string stoc = form_.stocEntryCount >= 1 ? readWholeFile(stocPath_) : std::string();
        std::int64_t rawdLength = static_cast<std::int64_t>(fileSizeOf(rawdPath_));
        long long total =
            16 + 4 + static_cast<long long>(toc.size()) + 4 + static_cast<long long>(stoc.size()) + 4 + rawdLength;
        if (total > INT32_MAX)
            throw Failure("The new archive would be " + std::to_string(total) +
                          " bytes long; an archive holds at most 2147483647 bytes.");

        output_ = std::make_unique<ReplacingFile>(outputPath_);
        output_->write(mpakHeader(static_cast<std::int32_t>(toc.size() + 4), static_cast<std::int32_t>(stoc.size() + 4),
                                  form_.filesPackedCount, form_.stocEntryCount));
        output_->write(std::string_view("TOC\0", 4));
        output_->write(toc);
        form_.window.yield();
        output_->write("STOC");
        output_->write(stoc);
        form_.window.yield();
        output_->write("RAWD");
        copyInBlocks(rawdPath_, *output_, kRawdCopyBlock);
        output_->commit();
        form_.window.yield();
    }

    // Removes the work files and empties Temp; every failure here is ignored.
    void cleanUp() {
        for (const fs::path& path : reached_) {
            std::error_code ignored;
            fs::remove(path, ignored);
        }
        try {
            ClearTempFolder(form_);
        } catch (const std::exception&) {
        }
        form_.window.yield();
    }

    Form& form_;
    fs::path tocPath_, stocPath_, rawdPath_, outputPath_;
    std::vector<fs::path> reached_;  // work files created so far
    std::unique_ptr<WorkFile> toc_, stoc_, rawd_;
    std::unique_ptr<ReplacingFile> output_;
};

}  // namespace

std::int16_t PackIt(Form& form) {
    ArchiveWriting writing(form);
    std::string description;
    try {
        return writing.run();
    } catch (const std::exception& e) {
        description = e.what();
    }
    form.window.setBusy(false);
    reportError(form, "PackIt", description);
    writing.abandon();
    return kPackAborted;
}
