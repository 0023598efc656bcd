// Inflating an entry whole (libdeflate) answers as inflating it piece by piece (zlib) does, for
// every kind of stream and every size a TOC may claim.
#include "format/whole_inflate.h"

#include <gtest/gtest.h>

#include "common/failure.h"
#include "fixtures/temp_dir.h"
#include "fixtures/zlib_reference.h"

TEST(WholeInflate, GivesTheEndAndSizeThatPiecewiseInflationGivesForEveryStreamAndClaim) {
    const std::string content = awkwardBytes(100000, 5), stream = rawDeflate(content);
    struct Case {
        const char* what;
        std::string stored;
        std::int64_t claimed;
        bool whole;  // answered by the whole inflation
    };
    const std::vector<Case> cases = {
        {"exact", stream, 100000, true},
        {"bytes after the stream's end", stream + "trailing", 100000, true},
        {"a smaller claim", stream, 99999, false},
        {"a larger claim", stream, 100001, false},
        {"a negative claim", stream, -1, false},
        {"cut short", stream.substr(0, stream.size() / 2), 100000, false},
        {"no stream (block type 3)", "\xFF\xFF", 2, false},
        {"the empty stream", rawDeflate(""), 0, true},
        {"a claim past the limit", stream, std::int64_t(kWholeInflateLimit + 1), false},
    };
    TempDir dir;
    for (const Case& c : cases) {
        writeFile(dir / "entry", "head" + c.stored);
        RangeReader reader(dir / "entry");
        const InflateResult piecewise =
            inflatePieces(dir / "entry", 4, c.stored.size(), [](std::string_view) { return true; });
        const InflateResult fast = inflatedSizeOf(reader, 4, c.stored.size(), c.claimed);
        EXPECT_EQ(std::pair(fast.end, fast.inflatedSize), std::pair(piecewise.end, piecewise.inflatedSize)) << c.what;
        EXPECT_EQ(inflateWhole(reader, 4, c.stored.size(), c.claimed).has_value(), c.whole) << c.what;
    }
    RangeReader reader(dir / "entry");
    EXPECT_FALSE(inflateWhole(reader, 4, stream.size() + 1, 100000).has_value());  // past the file's end
    EXPECT_THROW(inflatedSizeOf(reader, 1 << 30, 10, 10), Failure);                // as piecewise inflation fails
}
