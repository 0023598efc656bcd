#include "cli/cli_arguments.h"

#include <charconv>
#include <utility>

#include "common/files.h"

namespace {

constexpr int kMostJobs = 256;

CliCommand commandNamed(const std::string& name) {
    static const std::pair<const char*, CliCommand> kCommands[] = {
        {"list", CliCommand::List},       {"verify", CliCommand::Verify}, {"diff", CliCommand::Diff},
        {"extract", CliCommand::Extract}, {"pack", CliCommand::Pack},     {"update", CliCommand::Update},
        {"mpkg", CliCommand::Mpkg},       {"fsb", CliCommand::Fsb},       {"textures", CliCommand::Textures}};
    for (const auto& [text, command] : kCommands)
        if (name == text) return command;
    return CliCommand::None;
}

std::optional<int> jobCount(const std::string& text) {
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 1 || value > kMostJobs) return std::nullopt;
    return value;
}

// "--work DIR" and "--work=DIR" alike; advances `i` past a separate value.
std::optional<std::string> optionValue(const std::vector<std::string>& arguments, std::size_t& i,
                                       const std::string& name) {
    const std::string& argument = arguments[i];
    if (argument.size() > name.size() && argument.compare(0, name.size() + 1, name + "=") == 0)
        return argument.substr(name.size() + 1);
    if (argument != name || i + 1 >= arguments.size()) return std::nullopt;
    return arguments[++i];
}

bool isValueOption(const std::string& argument, const std::string& name) {
    return argument == name || argument.starts_with(name + "=");
}

// One option at arguments[i]; the reason it is wrong, or empty.
std::string takeOption(const std::vector<std::string>& arguments, std::size_t& i, CliRequest& request) {
    const std::string& option = arguments[i];
    if (isValueOption(option, "--work")) {
        std::optional<std::string> value = optionValue(arguments, i, "--work");
        if (!value || value->empty()) return "--work needs a folder";
        request.workFolder = hostPath(*value);
    } else if (isValueOption(option, "--jobs")) {
        std::optional<std::string> value = optionValue(arguments, i, "--jobs");
        request.jobs = value ? jobCount(*value) : std::nullopt;
        if (!request.jobs) return "--jobs needs a number from 1 to " + std::to_string(kMostJobs);
    } else if (isValueOption(option, "--remove")) {
        std::optional<std::string> value = optionValue(arguments, i, "--remove");
        if (!value || value->empty()) return "--remove needs a PATTERN";
        request.removePatterns.push_back(*value);
    } else if (option == "-q" || option == "--quiet") {
        request.quiet = true;
    } else if (option == "--log") {
        request.printLog = true;
    } else if (option == "--overwrite") {
        request.overwrite = true;
    } else if (option == "--paths") {
        request.pathsOnly = true;
    } else if (option == "-0" || option == "--null") {
        request.nulEnded = true;
    } else if (option == "--manual-stoc") {
        request.manualStoc = true;
    } else if (option == "--force-compression") {
        request.forceCompression = true;
    } else if (option == "-h" || option == "--help") {
        request.help = true;
    } else if (option == "--version") {
        request.version = true;
    } else {
        return "unknown option '" + option + "'";
    }
    return {};
}

// What is wrong with a complete request, or empty.
std::string checkRequest(const CliRequest& request) {
    const std::size_t operands = request.operands.size();
    switch (request.command) {
        case CliCommand::None:
            return "no command given";
        case CliCommand::List:
            if (operands != 1) return "list takes one ARCHIVE";
            break;
        case CliCommand::Verify:
            if (operands != 1) return "verify takes one ARCHIVE";
            break;
        case CliCommand::Diff:
            if (operands != 2) return "diff takes two ARCHIVEs";
            break;
        case CliCommand::Extract:
            if (operands < 1) return "extract takes an ARCHIVE and any PATTERNs";
            break;
        case CliCommand::Pack:
            if (operands != 1) return "pack takes one FOLDER";
            break;
        case CliCommand::Update:
            if (operands < 1 || operands > 2) return "update takes an ARCHIVE and at most one FOLDER";
            break;
        default:
            if (operands != 1) return "this command takes one FILE";
            break;
    }
    if (request.pathsOnly && request.command != CliCommand::List && request.command != CliCommand::Diff)
        return "--paths belongs to list and diff";
    if (request.nulEnded && request.command != CliCommand::List) return "-0 belongs to list";
    if (request.forceCompression && request.command != CliCommand::Pack) return "--force-compression belongs to pack";
    if (request.manualStoc && request.command != CliCommand::Pack && request.command != CliCommand::Update)
        return "--manual-stoc belongs to pack and update";
    if (!request.removePatterns.empty() && request.command != CliCommand::Update) return "--remove belongs to update";
    return {};
}

}  // namespace

ParsedArguments parseArguments(const std::vector<std::string>& arguments) {
    ParsedArguments parsed;
    CliRequest& request = parsed.request;
    // --help and --version anywhere before "--" win over everything else, a wrong option too.
    for (const std::string& argument : arguments) {
        if (argument == "--") break;
        request.help = request.help || argument == "-h" || argument == "--help";
        request.version = request.version || argument == "--version";
    }
    if (request.help || request.version) return parsed;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && argument.size() > 1 && argument[0] == '-') {
            parsed.usageError = takeOption(arguments, i, request);
            if (!parsed.usageError.empty()) return parsed;
        } else if (request.command == CliCommand::None) {
            request.command = commandNamed(argument);
            if (request.command == CliCommand::None) {
                parsed.usageError = "unknown command '" + argument + "'";
                return parsed;
            }
        } else {
            request.operands.push_back(argument);
        }
    }
    if (!request.help && !request.version) parsed.usageError = checkRequest(request);
    return parsed;
}
