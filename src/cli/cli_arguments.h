// The command line taken apart: the command, its operands and the options.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

enum class CliCommand { None, List, Verify, Diff, Extract, Pack, Update, Mpkg, Fsb, Textures };

struct CliRequest {
    CliCommand command = CliCommand::None;
    std::vector<std::string> operands;  // ARCHIVE, FOLDER or FILE first, then any PATTERNs
    std::optional<std::filesystem::path> workFolder;
    std::optional<int> jobs;
    bool quiet = false;
    bool printLog = false;  // --log: the log on standard output even with -q
    bool overwrite = false;
    bool pathsOnly = false;                   // list --paths
    bool nulEnded = false;                    // list -0, --null
    std::vector<std::string> removePatterns;  // update --remove, each a ";"-separated list
    bool manualStoc = false;                  // pack and update --manual-stoc
    bool forceCompression = false;            // pack --force-compression
    bool help = false;
    bool version = false;
};

struct ParsedArguments {
    CliRequest request;
    std::string usageError;  // empty when the arguments make a request
};

// Options may stand before or after the command; "--" ends them. --help and --version win
// over everything else on the line.
ParsedArguments parseArguments(const std::vector<std::string>& arguments);
