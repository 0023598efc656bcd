#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <set>

#include "shell/commands.h"
#include "tool_test_fixture.h"
#include "tools/texture_name_scan.h"

namespace {

using Names = std::vector<std::string>;
const std::string Z(1, '\0');

Names foundNames(const std::string& model) {
    Names names;
    for (const TextureNameHit& hit : findTextureNames(model)) names.push_back(hit.name);
    return names;
}

Names listed(const std::string& model) { return listedTextureNames(findTextureNames(model)); }

// The search exactly as the text describes it, window by window; nothing when it would go
// round for ever or start a window before offset 0.
std::optional<Names> describedSearch(const std::string& model) {
    auto extensionAt = [](std::string_view w, std::size_t i) {
        return w[i] == '.' && (w[i + 1] | 0x20) == 't' && (w[i + 2] | 0x20) == 'g' && (w[i + 3] | 0x20) == 'a';
    };
    Names names;
    std::set<long long> starts;
    long long start = 0;
    const long long size = static_cast<long long>(model.size());
    for (;;) {
        if (start < 0 || !starts.insert(start).second) return std::nullopt;
        std::string_view window = std::string_view(model).substr(std::min(start, size), 1024);
        std::size_t k = 0;
        while (k + 4 <= window.size() && !extensionAt(window, k)) ++k;
        if (k + 4 > window.size()) {
            start += 1024;
            if (start >= size) return names;
            continue;
        }
        std::size_t j = window.rfind('\0', k);
        if (j == std::string::npos) {
            start -= 1;
            continue;
        }
        names.emplace_back(window.substr(j + 1, k + 3 - j));
        start += static_cast<long long>(k) + 1;
        if (start >= size) return names;
    }
}

class ModelGraphicsTest : public ToolTest {
protected:
    void scan(const fs::path& model) {
        window.fileAnswers.push_back(model);
        GetModelGraphics(form);
    }
};

TEST_F(ModelGraphicsTest, ListsEachNameUnderTheTitleAndShowsItsOffsetInTheStatusLine) {
    const fs::path model = app / "models" / "tank.mmod";
    writeFile(model, Z + "abc.tga" + Z + Z + "def.tga");
    window.log = "earlier view";
    form.logText = "earlier log\r\n";
    scan(model);

    ASSERT_EQ(window.prompts.size(), 1u);
    EXPECT_EQ(window.prompts[0].title, "Select File [.mmod]");
    EXPECT_EQ(window.prompts[0].filter, ".mmod type files (*.mmod)|*.mmod");
    EXPECT_EQ(form.modelPath, model);
    EXPECT_EQ(window.statusHistory, (Names{"abc.tga loc=4", "def.tga loc=D", ""}));
    EXPECT_EQ(window.log, "GRAPHICS FOR MODEL: tank.mmod\r\n\r\nabc.tga\r\ndef.tga\r\n\r\nOperation complete.\r\n");
    EXPECT_EQ(window.caret, Caret::End);
    EXPECT_FALSE(window.busy);
    EXPECT_TRUE(window.messages.empty());
}

TEST_F(ModelGraphicsTest, ModelsWithoutNamesShowTheTitleTwoEmptyLinesAndCompletion) {
    const std::string expected = "GRAPHICS FOR MODEL: m.mmod\r\n\r\n\r\nOperation complete.\r\n";
    writeFile(app / "m.mmod", "no texture here" + Z + "abc.bmp");
    scan(app / "m.mmod");
    EXPECT_EQ(window.log, expected);
    writeFile(app / "m.mmod", "");
    scan(app / "m.mmod");
    EXPECT_EQ(window.log, expected);
    fs::remove(app / "m.mmod");  // unreadable: no names, no error
    scan(app / "m.mmod");
    EXPECT_EQ(window.log, expected);
    EXPECT_TRUE(window.messages.empty());
}

TEST(TextureNameScan, MatchesTheExtensionInAnyCaseAndListsNamesAsStored) {
    EXPECT_EQ(foundNames(Z + "B.TGA" + Z + "c.TgA"), (Names{"B.TGA", "c.TgA"}));
    // Only ASCII letters fold: a byte above 127 is compared exactly.
    EXPECT_EQ(foundNames(Z + "d.tg\xC1" + Z + "e.tga"), (Names{"e.tga"}));
}

TEST(TextureNameScan, ListsEachNameOnceComparingBytesExactly) {
    EXPECT_EQ(listed(Z + "a.tga" + Z + "A.tga" + Z + "a.tga" + Z + "b.tga" + Z + "A.tga"),
              (Names{"a.tga", "A.tga", "b.tga"}));
}

TEST(TextureNameScan, SplitsNamesAtEveryBar) {
    EXPECT_EQ(listed(Z + "a|b.tga" + Z + "b.tga" + Z + "x||y.tga"), (Names{"a", "b.tga", "x", "", "y.tga"}));
}

TEST(TextureNameScan, NameWhoseZeroByteLiesInTheWindowBeforeIsFoundByMovingBack) {
    std::string model = std::string(1000, 'x') + Z + std::string(40, 'n') + ".tga";
    std::vector<TextureNameHit> hits = findTextureNames(model);
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].name, std::string(40, 'n') + ".tga");
    EXPECT_EQ(hits[0].offset, 1041u);
}

TEST(TextureNameScan, ExtensionStraddlingTheEndOfAWindowWithoutAMatchIsNotFound) {
    // ".tg" are the last three bytes of the first window, "a" the first of the next.
    std::string model = std::string(1000, 'x') + Z + std::string(20, 'n') + ".tga" + Z + "next.tga";
    ASSERT_EQ(model.find(".tga"), 1021u);
    EXPECT_EQ(foundNames(model), (Names{"next.tga"}));
}

TEST(TextureNameScan, NamesLongerThanAWindowAllowsAreNotListed) {
    // A name fits when its zero byte and its last "a" lie in one 1024-byte window.
    auto modelWithName = [](std::size_t nameLength) {
        return std::string(1500, 'x') + Z + std::string(nameLength - 4, 'n') + ".tga" + Z + "after.tga";
    };
    EXPECT_EQ(foundNames(modelWithName(1023)), (Names{std::string(1019, 'n') + ".tga", "after.tga"}));
    EXPECT_EQ(foundNames(modelWithName(1024)), (Names{"after.tga"}));
    EXPECT_EQ(foundNames(modelWithName(3000)), (Names{"after.tga"}));
}

TEST(TextureNameScan, OccurrencesWithoutAZeroByteInReachArePassedOverAndTheScanEnds) {
    // No zero byte before the extension at all: the window would have to start before 0.
    EXPECT_EQ(foundNames("abc.tga" + Z + "d.tga"), (Names{"d.tga"}));
    EXPECT_EQ(foundNames(".tga"), Names{});
    // No zero byte between a match and the next: moving back would find the first again.
    EXPECT_EQ(foundNames(Z + "a.tga b.tga"), (Names{"a.tga"}));
    EXPECT_EQ(foundNames(Z + "a.tga b.tga" + Z + "c.tga"), (Names{"a.tga", "c.tga"}));
    // An extension straddling a window end, reached again while moving back for a later one.
    EXPECT_EQ(foundNames(Z + std::string(1020, 'x') + ".tga" + std::string(50, 'y') + ".tga"), Names{});
    EXPECT_EQ(foundNames(std::string(1010, 'x') + Z + std::string(10, 's') + ".tga" + std::string(50, 'y') + ".tga"),
              (Names{std::string(10, 's') + ".tga"}));
    // Many extensions and no zero byte anywhere.
    std::string repeated;
    for (int i = 0; i < 2000; ++i) repeated += "ab.tga";
    EXPECT_EQ(foundNames(repeated), Names{});
}

TEST(TextureNameScan, FindsWhatTheDescribedSearchFindsWheneverThatSearchEnds) {
    std::mt19937 random(7);
    auto below = [&](int n) { return static_cast<int>(random() % n); };
    int compared = 0;
    for (int round = 0; round < 200; ++round) {
        std::string model;
        for (int part = below(12); part > 0; --part) {
            switch (below(5)) {
                case 0:
                    model += Z + std::string(990 + below(40), 'n') + ".tga";
                    break;  // about as long as fits
                case 1:
                    model += Z + std::string(below(40), 'n') + ".TgA";
                    break;
                case 2:
                    model += std::string(below(1100), 'q');
                    break;
                case 3:
                    model += ".tg";
                    break;
                default:
                    model += Z + std::string(below(3), '|') + "a";
                    break;
            }
        }
        std::optional<Names> expected = describedSearch(model);
        if (!expected) continue;
        ++compared;
        ASSERT_EQ(foundNames(model), *expected) << "round " << round;
    }
    EXPECT_GT(compared, 150);
}

}  // namespace
