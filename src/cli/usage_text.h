// What the command line says about itself: the short usage and the whole --help text.
#pragma once

#include <string>

std::string usageText();
std::string helpText();
std::string versionText();
