#include "shell/compression_tool.h"

#include "common/files.h"
#include "shell/tool_runner.h"

std::string zlibcCommand(const std::filesystem::path& program, const HelperJob& job) {
    return quoteProgramPath(pathText(program)) + (job.inflate ? " -d " : " -k ") + quoteArgument(pathText(job.in)) +
           " " + quoteArgument(pathText(job.out));
}
