// The floors of extract-all and pack-all that do the program's own file work in-process: every
// file the passes write, rename and delete (the entries parked in Temp and inflated into files
// of their own there, the staged files, the writer's work files) with libdeflate called on
// threads in place of the zlibc workers, and none of the window's bookkeeping: no log, no
// checks of names and links, no read-back check. Set against them, a pass shows what its
// helpers and its bookkeeping cost; set against the bare floors, what the passes' way through
// Temp costs as well.
#pragma once

#include <libdeflate.h>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "common/bytes.h"
#include "common/files.h"
#include "common/paths.h"
#include "common/text.h"
#include "common/zlib_wrapping.h"
#include "extract/extract_entry.h"
#include "format/archive_tables.h"
#include "format/mpak_records.h"
#include "game_files.h"

// Items 0, 1, 2... handed to `threads` threads as the caller makes them ready: thread t takes
// t, t + threads, ... and each item once it is ready.
class ReadyItems {
public:
    template <typename Work>
    ReadyItems(int threads, Work work) {
        for (int t = 0; t < threads; ++t)
            threads_.emplace_back([this, t, threads, work] {
                for (std::size_t i = std::size_t(t);; i += std::size_t(threads)) {
                    {
                        std::unique_lock lock(mutex_);
                        changed_.wait(lock, [&] { return ready_ > i || ended_; });
                        if (i >= ready_) return;
                    }
                    work(t, i);
                }
            });
    }
    void oneMoreReady() {
        {
            std::lock_guard lock(mutex_);
            ++ready_;
        }
        changed_.notify_all();
    }
    void endAndWait() {
        {
            std::lock_guard lock(mutex_);
            ended_ = true;
        }
        changed_.notify_all();
        for (std::thread& thread : threads_) thread.join();
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::size_t ready_ = 0;
    bool ended_ = false;
    std::vector<std::thread> threads_;
};

// Extract-all's file work: each entry read in turn, a stored one written under a temporary
// name and renamed onto its file, a compressed one parked in `temp` as a zlib stream; threads
// inflate the parked files into files of their own in `temp` (temporary name, then rename);
// then, in the order of the parked names, each is moved onto its file and its parked file
// deleted.
inline void extractWithTheProgramsFileWork(const std::vector<EntrySlot>& entries, const fs::path& archivePath,
                                           const fs::path& out, const fs::path& temp, int threads) {
    struct Parked {
        fs::path gzFile, inflated, target;
        std::size_t size;
    };
    std::vector<Parked> parked;
    parked.reserve(entries.size());  // never moved while the threads read it
    std::vector<libdeflate_decompressor*> decompressors(static_cast<std::size_t>(threads));
    for (auto& d : decompressors) d = libdeflate_alloc_decompressor();
    ReadyItems inflating(threads, [&](int t, std::size_t i) {
        const Parked& p = parked[i];
        const std::string wrapped = readWholeFile(p.gzFile);
        std::string inflated(p.size, '\0');
        if (libdeflate_deflate_decompress(decompressors[std::size_t(t)], wrapped.data() + kZlibHeaderBytes,
                                          wrapped.size() - kZlibWrapperBytes, inflated.data(), inflated.size(),
                                          nullptr) != LIBDEFLATE_SUCCESS)
            std::abort();
        writeFileReplacing(p.inflated, inflated);
    });
    RangeReader archive(archivePath);
    std::set<fs::path> folders;
    for (const EntrySlot& slot : entries) {
        const std::string data = archive.read(std::uint64_t(slot.entryDataOffset), std::uint64_t(slot.entryStoredSize));
        const fs::path target = *safeJoin(out, slot.entryPath);
        if (folders.insert(target.parent_path()).second) fs::create_directories(target.parent_path());
        if (slot.entryCompressed != 1) {
            writeFileReplacing(target, data);
            continue;
        }
        const fs::path gzFile = temp / (flattenPath(slot.entryPath) + ".gz");
        WriteZlibWrapped(gzFile, data);
        parked.push_back(
            {gzFile, temp / (".inflated-" + std::to_string(parked.size())), target, std::size_t(slot.entryOriginalSize)});
        inflating.oneMoreReady();
    }
    inflating.endAndWait();
    for (auto* d : decompressors) libdeflate_free_decompressor(d);
    std::sort(parked.begin(), parked.end(), [](const Parked& a, const Parked& b) { return a.gzFile < b.gzFile; });
    for (const Parked& p : parked) {
        fs::rename(p.inflated, p.target);
        fs::remove(p.gzFile);
    }
}

// Pack-all's file work: threads deflate the files to compress into zlib streams in `temp`
// (temporary name, then rename) while the stored ones are copied there; then the staged files,
// in the order of their names, are read into the TOC and RAWD work files, the archive is
// written from them under a temporary name and renamed onto `out`, and Temp is emptied.
inline void packWithTheProgramsFileWork(const std::vector<GameFile>& files, const fs::path& folder,
                                        const fs::path& temp, const fs::path& out, int threads) {
    struct Staged {
        fs::path source, staged;
        const GameFile* file;
    };
    std::vector<Staged> staged;
    for (const GameFile& f : files)
        staged.push_back({*safeJoin(folder, f.path), temp / (flattenPath(f.path) + (f.compressed ? ".gz" : ".unc")), &f});
    std::vector<std::size_t> compressed;
    for (std::size_t i = 0; i < staged.size(); ++i)
        if (staged[i].file->compressed) compressed.push_back(i);
    std::vector<libdeflate_compressor*> compressors(static_cast<std::size_t>(threads));
    for (auto& c : compressors) c = libdeflate_alloc_compressor(6);
    ReadyItems deflating(threads, [&](int t, std::size_t k) {
        const Staged& s = staged[compressed[k]];
        const std::string data = readWholeFile(s.source);
        libdeflate_compressor* compressor = compressors[std::size_t(t)];
        std::string stream(kZlibHeader);
        stream.resize(kZlibHeaderBytes + libdeflate_deflate_compress_bound(compressor, data.size()));
        stream.resize(kZlibHeaderBytes + libdeflate_deflate_compress(compressor, data.data(), data.size(),
                                                                     stream.data() + kZlibHeaderBytes,
                                                                     stream.size() - kZlibHeaderBytes));
        const std::uint32_t adler = libdeflate_adler32(1, data.data(), data.size());
        for (int shift = 24; shift >= 0; shift -= 8) stream += static_cast<char>(adler >> shift);  // big-endian
        writeFileReplacing(s.staged, stream);
    });
    for (std::size_t k = 0; k < compressed.size(); ++k) deflating.oneMoreReady();
    for (const Staged& s : staged) {
        if (s.file->compressed) continue;
        WorkFile copy(s.staged);
        copyInBlocks(s.source, copy, 1 << 20);
        copy.close();
    }
    deflating.endAndWait();
    for (auto* c : compressors) libdeflate_free_compressor(c);

    std::sort(staged.begin(), staged.end(), [](const Staged& a, const Staged& b) { return a.staged < b.staged; });
    {
        WorkFile toc(temp / "TOC.bin"), rawd(temp / "RAWD.bin");
        for (const Staged& s : staged) {
            const std::string data = readWholeFile(s.staged);
            std::string_view stored = data;
            if (s.file->compressed) stored = stored.substr(kZlibHeaderBytes, data.size() - kZlibWrapperBytes);
            std::string entry;
            appendTocEntryHead(entry, replaceAll(s.file->path, '\\', '/'), static_cast<std::int32_t>(stored.size()),
                               static_cast<std::int32_t>(s.file->content.size()), s.file->compressed, 1);
            appendI32(entry, static_cast<std::int32_t>(rawd.position() + 4));  // copy offsets count from the RAWD tag
            toc.write(entry);
            rawd.write(stored);
        }
        toc.close();
        rawd.close();
    }
    const std::string toc = readWholeFile(temp / "TOC.bin");
    const std::uint64_t rawdSize = fileSizeOf(temp / "RAWD.bin");
    ReplacingFile archive(out);
    archive.write(mpakHeader(static_cast<std::int32_t>(toc.size() + 4), 4, static_cast<std::int16_t>(files.size()), 0) +
                  std::string("TOC\0", 4) + toc + "STOC" + "RAWD");
    RangeReader rawd(temp / "RAWD.bin");
    archive.append(rawd, 0, rawdSize);
    archive.commit();
    for (const Staged& s : staged) fs::remove(s.staged);
    fs::remove(temp / "TOC.bin");
    fs::remove(temp / "RAWD.bin");
}
