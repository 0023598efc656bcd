// The pack folder's caption names a folder in ExtractedFiles, files in Library and the new
// archive in NewMPAKs: it must be one plain name so that none of them lands elsewhere.
#pragma once

#include <string_view>

// Not empty, not "." or "..", and no "/", "\", zero byte or (on Windows) ":" of a drive.
bool isPlainName(std::string_view name);
