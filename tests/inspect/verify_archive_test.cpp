// "verify" on archives built byte by byte: each kind of damage gets its line, in the TOC's
// order, then the STOC's.
#include "inspect/verify_archive.h"

#include <gtest/gtest.h>

#include "common/failure.h"
#include "fixtures/temp_dir.h"
#include "fixtures/zlib_reference.h"

namespace {

const std::string kTexture = awkwardBytes(5000, 7);

// a.txt stored; tex\b.dds compressed, three copies by default.
MpakBuilder base(const MpakEntryOptions& texture = MpakEntryOptions().compressed(1).copies(3).originalSize(5000)) {
    MpakBuilder builder;
    builder.entry("a.txt", "alpha");
    builder.entry("tex/b.dds", rawDeflate(kTexture), texture);
    return builder;
}

// Where tex\b.dds's first copy starts: after the RAWD tag and a.txt's data.
std::size_t textureAt(const MpakBuilder& builder) { return std::size_t(builder.rawdStart()) + 4 + 5; }

}  // namespace

TEST(VerifyArchive, EachKindOfDamageGetsItsLineAndACleanArchiveNone) {
    const std::size_t deflated = rawDeflate(kTexture).size();
    struct Case {
        std::string name;
        std::function<std::string()> archive;
        std::vector<std::string> problems;
    };
    const std::string copy2 = "Copy 2 differs from the first: tex\\b.dds",
                      copy3 = "Copy 3 differs from the first: tex\\b.dds";
    const std::vector<Case> cases = {
        {"clean",
         [] {
             return base().stocGroup({"a.txt", "TEX/B.DDS"}).build();
         },
         {}},
        {"cut inside the last copy",
         [] {
             std::string bytes = base().build();
             return bytes.substr(0, bytes.size() - 10);
         },
         {"Copy 3 lies past the end of the archive: tex\\b.dds"}},
        {"second copy flipped",
         [&] {
             MpakBuilder builder = base();
             std::string bytes = builder.build();
             bytes[textureAt(builder) + deflated + deflated / 2] ^= 0x55;
             return bytes;
         },
         {copy2}},
        {"first copy no DEFLATE stream",
         [&] {
             MpakBuilder builder = base();
             std::string bytes = builder.build();
             bytes[textureAt(builder)] = '\xFF';  // block type 3 does not exist
             return bytes;
         },
         {"Does not inflate: tex\\b.dds", copy2, copy3}},
        {"another original size",
         [] { return base(MpakEntryOptions().compressed(1).originalSize(10)).build(); },
         {"Inflates to 5000 bytes, not the TOC's 10: tex\\b.dds"}},
        {"names extraction refuses and a STOC name of no entry",
         [] {
             return base(MpakEntryOptions().compressed(1).originalSize(5000))
                 .entry("A.TXT", "again")
                 .entry("../up.txt", "up")
                 .stocGroup({"a.txt", "a"})
                 .stocGroup({"gone.txt", "gone"})
                 .build();
         },
         {"Extraction refuses: A.TXT would overwrite a.txt", "Extraction refuses this path: ..\\up.txt",
          "STOC group 2 names no entry: gone.txt"}},
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(dir / "x.mpak", c.archive());
        const VerifyReport report = verifyArchive(dir / "x.mpak");
        EXPECT_EQ(report.problems, c.problems);
        EXPECT_EQ(verifySummary(report),
                  "Checked " + std::to_string(report.entries) + " entries: " +
                      (c.problems.empty()       ? "no problems."
                       : c.problems.size() == 1 ? "1 problem."
                                                : std::to_string(c.problems.size()) + " problems."));
    }
    writeFile(dir / "x.mpak", "MPAK\x01");
    EXPECT_THROW(verifyArchive(dir / "x.mpak"), Failure);
}
