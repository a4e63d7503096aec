// ServerSet files: the writer's exact lines, the reading rule, the protocol, the refused names.
#include "ArenaFixture.h"

#include "ServerSets.h"
#include "TextControls.h"
#include "frmCfgServ.h"

#include "core/Files.h"
#include "core/Text.h"
#include "shared/ServerSetNames.h"
#include "shared/Ui.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QTabBar>

namespace kx::arenawarden {
namespace {

const std::string kHeader = ";ServerSet Informationfile for Korvex3 ZIV\r\n"
                            ";===========================================\r\n"
                            ";Defines Batch Process ServerSet Information\r\n"
                            ";for the Dedicated server.\r\n"
                            ";\r\n"
                            ";Name of The Server\r\n";

class ServerSetTest : public ArenaTest {
protected:
    frmCfgServ& fill(const std::vector<std::string>& maps) {
        auto& w = cfg();
        w.Text2->setText("Arena");
        selectComboIndex(w.Combo1, 6);
        selectComboIndex(w.Combo3, 2);
        w.HScroll1->setValue(30);
        setCheckValue(w.Check1, 1);
        setCheckValue(w.Check2, 0);
        w.List2->clear();
        for (const auto& m : maps) w.List2->addItem(toUi(m));
        return w;
    }
    std::string combo(QComboBox* c) { return comboText(c, c->currentIndex()); }
};

TEST_F(ServerSetTest, TheWriterProducesTheGoldenFileAndConfirms) {
    auto& w = fill({"the airbase", "dust valley", "the airbase"});
    SaveServerSet(w, "golden");
    EXPECT_EQ(dir.read("korvex.wfd/config/serversets/golden.ini"),
              kHeader + "sv_name=Arena\r\n"
                        ";Maximum amount of Players (indexed)\r\n"
                        "sv_maxplayers=6\r\n"
                        ";Gametype (indexed)\r\n"
                        "sv_gametype=2\r\n"
                        ";CycleTime\r\n"
                        "sv_cycletime=30\r\n"
                        ";Is Cycling Server?\r\n"
                        "sv_iscycling=true\r\n"
                        ";Advertise Korvex3 (KX3 Tag)?\r\n"
                        "sv_advertkx3=false\r\n"
                        ";Add these maps...\r\n"
                        "sv_addmap=the airbase\r\n"
                        "sv_addmap=dust valley\r\n"
                        "sv_addmap=the airbase\r\n"
                        ";\r\n"
                        ";<EOF>\r\n");
    EXPECT_EQ(listIndex(w.List2), 2); // the walk ends on the last map
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text, "ServerSet 'golden' created sucessfully with your current settings.");
    EXPECT_EQ(fake.boxes[0].style, 64);
    EXPECT_EQ(fake.boxes[0].title, "Information.");
}

TEST_F(ServerSetTest, NoMapsAndNoPlayerCountChosen) {
    auto& w = fill({});
    selectComboIndex(w.Combo1, -1);
    SaveServerSet(w, "empty");
    const auto lines = splitLines(dir.read("korvex.wfd/config/serversets/empty.ini"));
    ASSERT_EQ(lines.size(), 20u);
    EXPECT_EQ(lines[8], "sv_maxplayers=1"); // "-1" without its first character
    EXPECT_EQ(lines[17], ";Add these maps...");
    EXPECT_EQ(lines[18], ";");
}

TEST_F(ServerSetTest, ApplyWritesTheProtocolAndShowsTheConfirmationPage) {
    auto& w = cfg();
    writeSet("weekend.ini", {";comment", "sv_name=Weekend", "sv_maxplayers=14", "sv_gametype=0", "sv_cycletime=45",
                             "sv_iscycling=TRUE", "sv_advertkx3=no", "sv_addmap=the airbase", "sv_addmap=dust valley",
                             ";", ";<EOF>"});
    ApplyServerSet(w, "weekend.ini");
    EXPECT_EQ(w.Protocol->text(), "Loaded ServerSet:: weekend.ini\r\n"
                                  "\r\n"
                                  "ServerName set to:: Weekend\r\n"
                                  "MaxPlayers set to::  16\r\n"
                                  "GameType set to:: deathmatch\r\n"
                                  "CycleTime set to:: 45\r\n"
                                  "Server is mapcycling? true\r\n"
                                  "Server advertises Kx3? false\r\n"
                                  "Adding to MapList :: the airbase\r\n"
                                  "Adding to MapList :: dust valley\r\n"
                                  "\r\n"
                                  ".ServerSet loaded.\r\n");
    EXPECT_EQ(items(w.List2), (std::vector<std::string>{"the airbase", "dust valley"}));
    EXPECT_EQ(fromUi(w.Text3->text()), " 45");
    EXPECT_FALSE(w.tbsConfigureTab->isEnabled());
    EXPECT_TRUE(w.Picture3->isVisibleTo(&w));
    EXPECT_TRUE(fake.boxes.empty());
}

TEST_F(ServerSetTest, TheReadingRule) {
    struct Case {
        const char* what;
        std::vector<std::string> lines;
        std::string name;
        std::string players; // Combo1 as shown
        std::vector<std::string> maps;
        int cycling;
    };
    const Case cases[] = {
        {"keys in any case, values keep theirs", {"SV_NAME=Big Arena", "Sv_MaxPlayers=2"}, "Big Arena", " 4", {}, 0},
        {"the character after the key is not looked at", {"sv_name:Colon"}, "Colon", " 8", {}, 0},
        {"the character after the key is not looked at", {"sv_namex"}, "", " 8", {}, 0},
        {"an empty value", {"sv_name="}, "", " 8", {}, 0},
        {"the last line wins", {"sv_name=first", "sv_name=second"}, "second", " 8", {}, 0},
        {"every map line adds one", {"sv_addmap=a", "sv_addmap=b", "sv_addmap=a", "sv_addmap="},
         "#", " 8", {"a", "b", "a", ""}, 0},
        {"truth texts", {"sv_iscycling=TRUE"}, "#", " 8", {}, 1},
        {"truth texts", {"sv_iscycling=true", "sv_iscycling=yes"}, "#", " 8", {}, 0},
        {"numbers: blanks skipped, no number is 0", {"sv_maxplayers= 1 4"}, "#", " 16", {}, 0},
        {"numbers: blanks skipped, no number is 0", {"sv_maxplayers=abc"}, "#", " 2", {}, 0},
        {"numbers are rounded half to even", {"sv_maxplayers=2.5"}, "#", " 4", {}, 0},
        {"comments and unknown lines", {";sv_name=hidden", "", "sv_nam", "xsv_name=y"}, "#", " 8", {}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto& w = cfg();
        w.Text2->setText("#");
        writeSet("t.ini", c.lines);
        LoadServerSet(w, "t.ini");
        EXPECT_EQ(fromUi(w.Text2->text()), c.name);
        EXPECT_EQ(combo(w.Combo1), c.players);
        EXPECT_EQ(items(w.List2), c.maps);
        EXPECT_EQ(checkValue(w.Check1), c.cycling);
        EXPECT_EQ(w.Protocol->text(), ""); // the silent reader writes no protocol
        EXPECT_TRUE(fake.boxes.empty());
        nextCase();
    }
}

TEST_F(ServerSetTest, AValueOutOfRangeStopsTheReadAtThatLine) {
    struct Case {
        std::string bad;
        int number;
    };
    const Case cases[] = {{"sv_maxplayers=29", 380}, {"sv_gametype=3", 380},   {"sv_cycletime=9", 380},
                          {"sv_cycletime=91", 380},  {"sv_gametype=-2", 380}, {"sv_maxplayers=99999", 6},
                          {"sv_cycletime=1e300", 6}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bad);
        auto& w = cfg();
        writeSet("bad.ini", {"sv_name=kept", "sv_addmap=a", c.bad, "sv_name=not reached", "sv_addmap=b"});
        ApplyServerSet(w, "bad.ini");
        EXPECT_EQ(fromUi(w.Text2->text()), "kept");
        EXPECT_EQ(items(w.List2), (std::vector<std::string>{"a"}));
        ASSERT_EQ(fake.boxes.size(), 1u);
        EXPECT_EQ(fake.boxes[0].title, "An error occured");
        EXPECT_NE(fake.boxes[0].text.find("( " + std::to_string(c.number) + " )"), std::string::npos)
            << fake.boxes[0].text;
        EXPECT_TRUE(w.tbsConfigureTab->isEnabled());
        EXPECT_FALSE(w.Picture3->isVisibleTo(&w));
        // The failed read left nothing behind: the next one reads normally.
        writeSet("good.ini", {"sv_name=good"});
        ApplyServerSet(w, "good.ini");
        EXPECT_EQ(fromUi(w.Text2->text()), "good");
        EXPECT_EQ(fake.boxes.size(), 1u);
        fake.boxes.clear();
        nextCase();
    }
}

TEST_F(ServerSetTest, AMissingFileLeavesTheListsCleared) {
    auto& w = cfg();
    w.Protocol->setText("old\r\n");
    ApplyServerSet(w, "nope.ini");
    EXPECT_EQ(items(w.List2), std::vector<std::string>{});
    EXPECT_EQ(w.Protocol->text(), "");
    EXPECT_EQ(boxTexts(fake), (std::vector<std::string>{"An error occured while trying to perform the specified "
                                                        "task.\r\nFile not found (" +
                                                        dir.file("korvex.wfd/config/serversets/nope.ini") + ") ( 53 )"}));
    EXPECT_FALSE(w.Picture3->isVisibleTo(&w));
}

// A name found on disk is read as it is, so every set the tray module lists and hands over
// loads here; only a name that holds a path is refused. Typed names keep the typed-name rule.
TEST_F(ServerSetTest, ListedNamesLoadAndNamesWithAPathAreRefused) {
    dir.write("korvex.wfd/config/outside.ini", "sv_name=outside\r\n");
    const struct {
        std::string file;
        bool loads;
    } cases[] = {{"\"q\".ini", true}, {"x:y.ini", true}, {"what?.ini", true}, {"t\tab.ini", true},
                 {"a|b*<c>.ini", true}, {"../outside.ini", false}, {"a\\b.ini", false}, {"", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        if (c.loads) {
            writeSet(c.file, {"sv_name=listed", "sv_addmap=x"});
            EXPECT_TRUE(isUsableServerSetName(c.file, true)) << "the tray module lists it";
        }
        auto& w = cfg();
        LoadServerSet(w, c.file);
        if (c.loads) {
            EXPECT_TRUE(fake.boxes.empty());
            EXPECT_EQ(fromUi(w.Text2->text()), "listed");
            EXPECT_EQ(items(w.List2), std::vector<std::string>{"x"});
        } else {
            EXPECT_NE(fromUi(w.Text2->text()), "outside");
            ASSERT_EQ(fake.boxes.size(), 1u);
            EXPECT_EQ(fake.boxes[0].text, "An error occured while trying to perform the specified task.\r\n"
                                          "Bad file name or number" +
                                              (c.file.empty() ? std::string() : " (" + c.file + ")") + " ( 52 )");
        }
        fake.boxes.clear();
        nextCase();
    }
}

TEST_F(ServerSetTest, TypedNamesThatAreNoFileNamesAreNotSaved) {
    for (const std::string name : {"x:y", "what?", "a\"b", "t\tab", "a|b", "a\\b", "../up"}) {
        SCOPED_TRACE(name);
        auto& w = cfg();
        SaveServerSet(w, name);
        ASSERT_EQ(fake.boxes.size(), 1u);
        EXPECT_EQ(fake.boxes[0].text, "An error occured while trying to perform the specified task.\r\n"
                                      "Bad file name or number ( 52 )");
        fake.boxes.clear();
        nextCase();
    }
    EXPECT_EQ(listFiles(dir.file("korvex.wfd/config/serversets"), "*.*", true), std::vector<std::string>{});
}

} // namespace
} // namespace kx::arenawarden
