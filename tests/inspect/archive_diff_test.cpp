// "diff" on archives built byte by byte: entries matched by path in any ASCII letter case,
// content compared after inflation, STOC groups matched by their first names.
#include "inspect/archive_diff.h"

#include <gtest/gtest.h>

#include "fixtures/temp_dir.h"
#include "fixtures/zlib_reference.h"

TEST(DiffArchives, SaysWhatIsOnlyInOneWhatChangedAndWhichStocGroupsCameAndWentInAsOrderThenBs) {
    TempDir dir;
    // bad.dds is no DEFLATE stream (block type 3) in either archive: it never equals itself.
    const MpakEntryOptions bad = MpakEntryOptions().compressed(1);
    writeFile(dir / "a.mpak",
              archiveOf({{"a.txt", "alpha"}, {"b.dds", "bravo", true}, {"c.txt", "charlie"}, {"gone.txt", "gone"}})
                  .entry("bad.dds", "\xFF", bad)
                  .stocGroup({"a.txt", "b.dds"})
                  .stocGroup({"gone.txt", "c.txt"})
                  .build());
    writeFile(dir / "b.mpak",
              archiveOf({{"new.txt", "new"}, {"A.TXT", "alpha"}, {"b.dds", "bravo"}, {"c.txt", "CHARLIE", false, 3}})
                  .entry("bad.dds", "\xFF", bad)
                  .stocGroup({"A.txt", "B.dds"})
                  .stocGroup({"new.txt", "c.txt"})
                  .build());
    std::vector<std::string> lines, paths;
    for (const ArchiveDifference& d : diffArchives(dir / "a.mpak", dir / "b.mpak"))
        lines.push_back(d.line), paths.push_back(d.path);
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "Changed: b.dds (compressed -> stored)", "Changed: c.txt (content, copies 1 -> 3)",
                         "Only in A: gone.txt", "Changed: bad.dds (content)", "Only in B: new.txt",
                         "STOC group removed: gone.txt (2 names)", "STOC group added: new.txt (2 names)"}));
    EXPECT_EQ(paths,
              (std::vector<std::string>{"b.dds", "c.txt", "gone.txt", "bad.dds", "new.txt", "gone.txt", "new.txt"}));
    writeFile(dir / "c.mpak", archiveOf({{"a.txt", "alpha"}, {"b.dds", awkwardBytes(100000, 3), true}}).build());
    writeFile(dir / "d.mpak", archiveOf({{"b.dds", awkwardBytes(100000, 3)}, {"a.txt", "alpha"}})
                                  .build());  // order and compression aside, the same content
    EXPECT_EQ(diffArchives(dir / "c.mpak", dir / "c.mpak").size(), 0u);
    ASSERT_EQ(diffArchives(dir / "c.mpak", dir / "d.mpak").size(), 1u);
    EXPECT_EQ(diffArchives(dir / "c.mpak", dir / "d.mpak")[0].line, "Changed: b.dds (compressed -> stored)");
}
