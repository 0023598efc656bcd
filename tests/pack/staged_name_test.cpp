#include "pack/staged_name.h"

#include <gtest/gtest.h>

#include "common/failure.h"

TEST(StagedName, ParsesFromTheRightSoDotsInThePathStay) {
    StagedName s = parseStagedName("data+v1.2+pack.tar.gz.10.3.1.unc");
    EXPECT_EQ(s.tocName, "data/v1.2/pack.tar.gz");
    EXPECT_EQ(s.originalSize, 10);
    EXPECT_EQ(s.copies, 3);
    EXPECT_TRUE(s.newFile);
    EXPECT_FALSE(s.compressed);
    EXPECT_TRUE(parseStagedName("a.5.1.0.cmp").compressed);
    EXPECT_EQ(parseStagedName("a.2147483647.8191.0.unc").copies, 8191);
}

TEST(StagedName, RefusesMissingFieldsAndNumbersBeyondTheReadersLimitsNamingTheFile) {
    for (const char* bad : {"a.5.8192.0.unc", "a.5.-1.0.unc", "a.5.x.0.unc", "a.5..0.unc", "a.2147483648.1.0.unc",
                            "a.-5.1.0.unc", "5.1.0.unc", "unc", "1.0.unc", ".5.1.0.unc"}) {
        SCOPED_TRACE(bad);
        try {
            parseStagedName(bad);
            ADD_FAILURE();
        } catch (const Failure& f) {
            EXPECT_NE(std::string(f.what()).find(std::string("'") + bad + "'"), std::string::npos) << f.what();
        }
    }
}
