#include "shell/tool_runner.h"

#include "shell/form.h"

std::int32_t runAndWait(const std::string& /*commandLine*/) {
    return -1;  // not built yet
}

std::int32_t RunAndWait(Form& form, const std::string& commandLine) {
    form.toolExitCode = runAndWait(commandLine);
    return form.toolExitCode;
}
