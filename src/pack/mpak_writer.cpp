// One TOC entry and its data per staged file, in the order given (the byte order of the staged
// names, so a folder always packs into the same archive); the library groups and the groups
// of new files into the STOC.
#include "pack/mpak_writer.h"

#include <memory>

#include "common/bytes.h"
#include "common/failure.h"
#include "common/files.h"
#include "common/links.h"
#include "common/text.h"
#include "common/zlib_wrapping.h"
#include "format/mpak_records.h"
#include "format/saved_archive_check.h"
#include "pack/staged_name.h"
#include "pack/written_entry_check.h"

namespace fs = std::filesystem;

namespace {

class ArchiveWriting {
public:
    ArchiveWriting(const MpakWriterJob& job, const MpakWriterProgress& progress, MpakWriterCounts& counts)
        : job_(job),
          progress_(progress),
          counts_(counts),
          tocPath_(job.workFolder / "TOC.bin"),
          stocPath_(job.workFolder / "STOC.bin"),
          rawdPath_(job.workFolder / "RAWD.bin") {}

    ~ArchiveWriting() {
        toc_.reset(), stoc_.reset(), rawd_.reset();
        for (const fs::path& path : reached_) {
            std::error_code ignored;
            fs::remove(path, ignored);
        }
    }

    void run() {
        stoc_ = openWorkFile(stocPath_);
        for (const StocLibraryGroup& group : job_.libraryGroups) {
            if (group.names.empty()) continue;  // a header of 0 introduces no names
            // The names actually found: a last group cut short by the end of the text is
            // written with the count it has, so that the reader does not run into RAWD.
            writeStocGroup(group.names, "The library .stoc group at line " + std::to_string(group.headerLineNumber));
        }
        toc_ = openWorkFile(tocPath_);
        rawd_ = openWorkFile(rawdPath_);

        const std::vector<fs::path>& staged = job_.stagedFiles;
        if (staged.size() > kMaxArchiveEntries)
            throw Failure("Temp holds " + std::to_string(staged.size()) + " staged files; an archive holds at most " +
                          std::to_string(kMaxArchiveEntries) + " files.");
        for (const fs::path& file : staged) packStagedFile(file, staged.size());

        for (WorkFile* work : {toc_.get(), rawd_.get(), stoc_.get()}) {
            work->close();
            pause();
        }
        writeArchive();
    }

private:
    void pause() {
        if (progress_.pause) progress_.pause();
    }

    // Whatever had the work file's name before is replaced, a planted link included.
    std::unique_ptr<WorkFile> openWorkFile(const fs::path& path) {
        bool existed = nameExists(path);
        reached_.push_back(path);
        auto file = std::make_unique<WorkFile>(path);
        if (existed) pause();
        return file;
    }

    // Every group counts, a group of one as well, so that the reader reads them all back.
    void writeStocGroup(const std::vector<std::string>& names, const std::string& what) {
        std::string bytes;
        appendStocGroup(bytes, names, what);
        stoc_->write(bytes);
        counts_.stocGroups = toInt16(counts_.stocGroups + 1LL, "the number of STOC groups");
    }

    void packStagedFile(const fs::path& file, std::size_t total) {
        std::string display = pathText(file.filename());
        StagedName staged = parseStagedName(display);
        if (progress_.packing) progress_.packing(counts_.filesPacked + 1, total, display);

        std::string data = readWholeFile(file);
        std::string_view stored = data;
        if (staged.compressed) {
            if (data.size() < kZlibWrapperBytes)
                throw Failure("The staged file '" + display + "' is " + byteCount(data.size()) +
                              " long, too short to be a zlib stream.");
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
        if (staged.compressed && staged.copies > 0) {
            const std::size_t storedBytes = stored.size();
            inflation_.add(counts_.filesPacked, std::move(data), kZlibHeaderBytes, storedBytes, staged.originalSize);
        }

        if (job_.autoAddNewFiles && staged.newFile)
            writeStocGroup({staged.tocName, std::string(afterLast(staged.tocName, '/'))},
                           "The STOC group of new file '" + staged.tocName + "'");
        pause();
        counts_.filesPacked = toInt16(counts_.filesPacked + 1LL, "the number of packed files");
    }

    void writeArchive() {
        std::string toc = readWholeFile(tocPath_);
        std::string stoc = counts_.stocGroups >= 1 ? readWholeFile(stocPath_) : std::string();
        std::int64_t rawdLength = static_cast<std::int64_t>(fileSizeOf(rawdPath_));
        long long total =
            16 + 4 + static_cast<long long>(toc.size()) + 4 + static_cast<long long>(stoc.size()) + 4 + rawdLength;
        if (total > INT32_MAX)
            throw Failure("The new archive would be " + std::to_string(total) +
                          " bytes long; an archive holds at most 2147483647 bytes.");

        ReplacingFile output(job_.output);
        output.write(mpakHeader(static_cast<std::int32_t>(toc.size() + 4), static_cast<std::int32_t>(stoc.size() + 4),
                                counts_.filesPacked, counts_.stocGroups));
        output.write(std::string_view("TOC\0", 4));
        output.write(toc);
        pause();
        output.write("STOC");
        output.write(stoc);
        pause();
        output.write("RAWD");
        if (rawdLength > 0) {
            RangeReader rawd(rawdPath_);
            output.append(rawd, 0, std::uint64_t(rawdLength));
        }
        // Read back from the disk before it replaces anything; a power cut leaves the earlier
        // archive or the whole new one.
        output.syncToDisk();
        output.close();
        inflation_.finish();
        checkSavedArchive(output.path(), [this](std::size_t entry) { return inflation_.checkOf(entry); });
        output.commit(Durability::Synced);
        pause();
    }

    const MpakWriterJob& job_;
    const MpakWriterProgress& progress_;
    MpakWriterCounts& counts_;
    fs::path tocPath_, stocPath_, rawdPath_;
    std::vector<fs::path> reached_;  // work files created so far
    std::unique_ptr<WorkFile> toc_, stoc_, rawd_;
    WrittenEntryCheck inflation_;  // of the entries written so far
};

}  // namespace

void writeMpak(const MpakWriterJob& job, const MpakWriterProgress& progress, MpakWriterCounts& counts) {
    ArchiveWriting writing(job, progress, counts);
    try {
        writing.run();
    } catch (const std::exception& e) {
        if (progress.failed) progress.failed(e.what());
        throw;
    }
}
