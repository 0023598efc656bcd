// fsbext -d DIR -a BANK: writes each sound of an FSB3 bank into DIR. Exit 0 when every sound
// was written; otherwise one line on stderr and a non-zero exit code.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>

#include "bank_file.h"
#include "common/files.h"
#include "fsb3_reader.h"
#include "output_names.h"
#include "wav_file.h"

namespace {

enum ExitCode { kWritten = 0, kBadArguments = 1, kBadBank = 2, kWriteFailed = 3 };

struct Arguments {
    std::filesystem::path outputFolder, bank;
};

std::optional<Arguments> parseArguments(int argc, char** argv) {
    std::optional<std::string> folder, bank;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string option = argv[i];
        if (option == "-d" && !folder)
            folder = argv[i + 1];
        else if (option == "-a" && !bank)
            bank = argv[i + 1];
        else
            return std::nullopt;
    }
    if (argc % 2 == 0 || !folder || !bank) return std::nullopt;
    return Arguments{*folder, *bank};
}

int fail(int code, const std::string& message) {
    std::fprintf(stderr, "fsbext: %s\n", message.c_str());
    return code;
}

}  // namespace

int main(int argc, char** argv) {
    std::optional<Arguments> args = parseArguments(argc, argv);
    if (!args) return fail(kBadArguments, "usage: fsbext -d OUTPUT_FOLDER -a BANK.fsb");

    std::string bank;
    std::vector<Fsb3Sample> samples;
    try {
        bank = readBankFile(args->bank);
        samples = readFsb3Bank(bank);
    } catch (const std::exception& e) {
        return fail(kBadBank, pathText(args->bank) + ": " + e.what());
    }

    std::vector<std::string> names = soundFileNames(samples, pathText(args->bank.stem()), [&](const std::string& name) {
        return isTheBank(args->outputFolder / name, args->bank);
    });
    try {
        for (std::size_t i = 0; i < samples.size(); ++i) {
            std::string_view data = std::string_view(bank).substr(samples[i].dataOffset, samples[i].dataLength);
            // Written under a temporary name and renamed, so no half-written sound is left.
            writeFileReplacing(args->outputFolder / names[i], soundFileBytes(samples[i], data));
        }
    } catch (const std::exception& e) {
        return fail(kWriteFailed, e.what());
    }
    return kWritten;
}
