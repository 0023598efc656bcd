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
    EXPECT_FALSE(parseStagedName("a.5.1.0.cmp").newFile);
}

TEST(StagedName, RefusesMissingFieldsAndNumbersBeyondTheReadersLimits) {
    EXPECT_EQ(parseStagedName("a.2147483647.8191.0.unc").copies, 8191);
    for (const char* bad : {"a.5.8192.0.unc", "a.5.-1.0.unc", "a.5.x.0.unc", "a.5..0.unc", "a.2147483648.1.0.unc",
                            "a.-5.1.0.unc", "5.1.0.unc", "unc", "1.0.unc", ".5.1.0.unc"}) {
        try {
            parseStagedName(bad);
            ADD_FAILURE() << bad;
        } catch (const Failure& f) {
            EXPECT_NE(std::string(f.what()).find(std::string("'") + bad + "'"), std::string::npos) << f.what();
        }
    }
    try {
        parseStagedName("a.5.9000.0.unc");
    } catch (const Failure& f) {
        EXPECT_STREQ(f.what(),
                     "The staged file name 'a.5.9000.0.unc' has copies field '9000', not a whole number from 0 to "
                     "8191.");
    }
}
