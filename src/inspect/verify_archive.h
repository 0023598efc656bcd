// "verify": every entry of an archive read, every compressed one inflated in full, its copies
// compared, its path checked as extraction checks it, and its STOC groups' first names looked up.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

struct VerifyReport {
    std::vector<std::string> problems;  // one line each, in the TOC's order, then the STOC's
    std::size_t entries = 0;
};

// Fails with the open's description when the archive's tables cannot be read.
VerifyReport verifyArchive(const std::filesystem::path& archive);

// "Checked N entries: no problems." or "Checked N entries: M problems."
std::string verifySummary(const VerifyReport& report);
