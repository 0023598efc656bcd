// The record limits that files in a folder cannot reach (the writer tests cover the rest).
#include "pack/mpak_records.h"

#include <gtest/gtest.h>

#include "common/failure.h"

using namespace std::string_literals;

TEST(MpakRecords, RefusesNamesTheReaderCouldNotReadBack) {
    auto failureOf = [](auto&& write) -> std::string {
        try {
            write();
        } catch (const Failure& f) {
            return f.what();
        }
        return "";
    };
    std::string out;
    EXPECT_EQ(failureOf([&] { appendTocEntryHead(out, std::string(255, 'n'), 1, 1, false, 1); }), "");
    EXPECT_EQ(
        failureOf([&] { appendTocEntryHead(out, std::string(256, 'n'), 1, 1, false, 1); }),
        "The name '" + std::string(256, 'n') + "' is 256 bytes long; an archive holds names of at most 255 bytes.");
    EXPECT_EQ(failureOf([&] {
                  appendStocGroup(out, {"a", "\0b"s}, "g");
              }),
              "g: a name is empty or begins with a zero byte, which the archive reader would take for the start of a "
              "group.");
    EXPECT_NE(failureOf([&] { appendStocGroup(out, {""}, "g"); }), "");
}
