// "List Model Graphics": the log and status lines, and the ".tga" name scan's edge cases.
#include <gtest/gtest.h>

#include <optional>

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
    EXPECT_EQ(window.statusHistory, (Names{"abc.tga loc=4", "def.tga loc=D", ""}));
    EXPECT_EQ(window.log, "GRAPHICS FOR MODEL: tank.mmod\r\n\r\nabc.tga\r\ndef.tga\r\n\r\nOperation complete.\r\n");
    EXPECT_EQ(window.caret, Caret::End);
    EXPECT_FALSE(window.busy);
    EXPECT_TRUE(window.messages.empty());
}

TEST_F(ModelGraphicsTest, EmptyMissingOrNamelessModelsShowTheTitleTwoEmptyLinesAndCompletion) {
    for (const std::optional<std::string>& content :
         {std::optional("no texture" + Z + "abc.bmp"), std::optional(std::string()), std::optional<std::string>()}) {
        SCOPED_TRACE(content ? *content : "missing");
        if (content)
            writeFile(app / "m.mmod", *content);
        else
            fs::remove(app / "m.mmod");  // unreadable: no names, no error
        scan(app / "m.mmod");
        EXPECT_EQ(window.log, "GRAPHICS FOR MODEL: m.mmod\r\n\r\n\r\nOperation complete.\r\n");
    }
    EXPECT_TRUE(window.messages.empty());
}

TEST(TextureNameScan, FoldsAsciiCaseListsEachNameOnceAndSplitsAtBars) {
    // Only ASCII letters fold: a byte above 127 is compared exactly.
    EXPECT_EQ(foundNames(Z + "B.TGA" + Z + "d.tg\xC1" + Z + "c.TgA"), (Names{"B.TGA", "c.TgA"}));
    EXPECT_EQ(listedTextureNames(findTextureNames(Z + "a.tga" + Z + "A.tga" + Z + "a.tga" + Z + "x||y.tga")),
              (Names{"a.tga", "A.tga", "x", "", "y.tga"}));
}

TEST(TextureNameScan, NameWhoseZeroByteLiesInTheWindowBeforeIsFoundByMovingBack) {
    std::vector<TextureNameHit> hits = findTextureNames(std::string(1000, 'x') + Z + std::string(40, 'n') + ".tga");
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
    // No zero byte between a match and the next: moving back would find the first again.
    EXPECT_EQ(foundNames(Z + "a.tga b.tga" + Z + "c.tga"), (Names{"a.tga", "c.tga"}));
    // An extension straddling a window end, reached again while moving back for a later one.
    EXPECT_EQ(foundNames(Z + std::string(1020, 'x') + ".tga" + std::string(50, 'y') + ".tga"), Names{});
    std::string repeated;
    for (int i = 0; i < 2000; ++i) repeated += "ab.tga";
    EXPECT_EQ(foundNames(repeated), Names{});
}

}  // namespace
