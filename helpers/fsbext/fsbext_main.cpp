// fsbext -d DIR -a BANK: writes each sound of an FSB3 bank into DIR. Exit 0 when every sound
// was written; otherwise one line on stderr and a non-zero exit code.
#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>

#include "bank_file.h"
#include "common/files.h"
#include "common/utf8_main.h"
#include "fsb3_reader.h"
#include "output_names.h"
#include "wav_file.h"

namespace {

enum ExitCode { kWritten = 0, kBadArguments = 1, kBadBank = 2, kWriteFailed = 3 };

struct Arguments {
    std::filesystem::path outputFolder, bank;
};

// The arguments after the program's name, as UTF-8.
std::optional<Arguments> parseArguments(const std::vector<std::string>& argv) {
    std::optional<std::string> folder, bank;
    for (std::size_t i = 1; i + 1 < argv.size(); i += 2) {
        const std::string& option = argv[i];
        if (option == "-d" && !folder)
            folder = argv[i + 1];
        else if (option == "-a" && !bank)
            bank = argv[i + 1];
        else
            return std::nullopt;
    }
    if (argv.size() % 2 == 0 || !folder || !bank) return std::nullopt;
    return Arguments{hostPath(*folder), hostPath(*bank)};
}

int fail(int code, const std::string& message) {
    std::fprintf(stderr, "fsbext: %s\n", message.c_str());
    return code;
}

}  // namespace

int utf8Main(const std::vector<std::string>& argv) {
    std::optional<Arguments> args = parseArguments(argv);
    if (!args) return fail(kBadArguments, "usage: fsbext -d OUTPUT_FOLDER -a BANK.fsb");

    std::optional<BankFile> bank;
    std::vector<Fsb3Sample> samples;
    try {
        bank.emplace(args->bank);
        // The header and the sample headers only; each sample's data is copied a piece at a time.
        std::string start =
            bank->read(0, static_cast<std::size_t>(std::min<std::uint64_t>(bank->size(), kFsb3HeaderSize)));
        start = bank->read(0, static_cast<std::size_t>(fsb3HeadersLength(start, bank->size())));
        samples = readFsb3Bank(start, bank->size());
    } catch (const std::exception& e) {
        return fail(kBadBank, pathText(args->bank) + ": " + e.what());
    }

    std::vector<std::string> names = soundFileNames(samples, pathText(args->bank.stem()), [&](const std::string& name) {
        return isTheBank(args->outputFolder / hostPath(name), args->bank);
    });
    try {
        for (std::size_t i = 0; i < samples.size(); ++i) {
            const std::size_t start = samples[i].dataOffset;
            // Written under a temporary name and renamed, so no half-written sound is left.
            ReplacingFile sound(args->outputFolder / hostPath(names[i]));
            writeSoundFile(
                samples[i],
                [&](std::uint64_t offset, std::size_t length) { return bank->read(start + offset, length); }, sound);
            sound.commit();
        }
    } catch (const std::exception& e) {
        return fail(kWriteFailed, e.what());
    }
    return kWritten;
}
