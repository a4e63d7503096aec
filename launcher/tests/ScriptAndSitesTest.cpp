// The autoexec script and the information web sites, as the loader and the menu use them.
#include "LauncherFixture.h"

#include "AutoExec.h"
#include "Form1.h"
#include "Launcher.h"
#include "WebSites.h"

#include "core/RunError.h"
#include "core/Text.h"

#include <QAction>
#include <QFile>

#include <gmock/gmock.h>

using namespace kx;
using namespace kx::launcher;
using kx::launcher::test::between;
using kx::launcher::test::LauncherTest;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;

namespace {

class ScriptTest : public LauncherTest {
protected:
    void SetUp() override {
        LauncherTest::SetUp();
        installModules();
        writeConfig(bobsValues()); // doautoexec=true, as the set-up writes it
        // The skin the configuration names, so that the loader's last step shows no box.
        dir.writeLines("korvex.wfd/skins/qfs 3.1 default/skindefinition.ini", {"hideline=true"});
    }
    void autoexec(const std::vector<std::string>& lines) const {
        dir.writeLines("korvex.wfd/config/autoexec.ini", lines);
    }
    void sites(const std::vector<std::string>& lines) const {
        dir.writeLines("korvex.wfd/config/information_sites.ini", lines);
    }
    std::string mod(const std::string& key) const {
        return "start: " + D() + "/korvex.wfd/modules/mod_" + key + ".exe [" + D() + "]";
    }
    std::vector<std::string> siteItems() const {
        std::vector<std::string> out;
        for (QAction* a : loadedForm1()->mnuBrowsethisWebSite)
            out.push_back(fromUi(a->text()) + (a->isEnabled() ? "" : " (off)"));
        return out;
    }
};

TEST_F(ScriptTest, AutoexecStartsModulesAndPlugInsAndShowsTheLastStatusForEveryLine) {
    dir.touchProgram("tools/run");
    dir.writeLines("korvex.wfd/plugins/alpha.spi", {"usesqfd=true", "approot=\\tools\\", "appfile=run"});
    autoexec({"execmodule=webshelf", "; comment", "EXECPLUGIN=alpha.spi"});
    runLoader();
    EXPECT_THAT(between(fake.timeline, "log: Executing ParseAutoExec()...", "status: preparing mainscreen..."),
                ElementsAreArray(std::vector<std::string>{
                    "log: Executing ParseAutoExec()...", "status: parsing autoexec.ini...", "sleep 200",
                    "log: Called ModuleStart().", "log: >> $ModuleName == webshelf", mod("webshelf"),
                    "log: >> Executed.", "status: executing module...", "sleep 10", "doEvents",
                    // the comment line shows the same status again
                    "sleep 10", "doEvents", "log: ExecPlugIn() Called.", "log: >> $FilName == alpha.spi",
                    "log: >> $ExecFile == " + D() + "\\tools\\run", "log: >> Shelling ExecFile.",
                    "start: " + D() + "/tools/run ", "status: executing plugin...", "sleep 10", "doEvents"}));
    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_TRUE(loadedForm1()->isVisible());
}

TEST_F(ScriptTest, ExecUnloadAnsweredNoGoesOnAndYesEndsTheProgram) {
    autoexec({"execmodule=tunebench", "execunload", "execmodule=webshelf"});
    const std::string box = "box: ExecUnload found in autoexec.ini\r\nTerminate Korvex 3.1?.|36|Question.";

    fake.boxAnswers = {box::No};
    runLoader();
    auto t = between(fake.timeline, "log: Executing ParseAutoExec()...", "status: preparing mainscreen...");
    EXPECT_NE(std::find(t.begin(), t.end(), box), t.end());
    EXPECT_NE(std::find(t.begin(), t.end(), mod("webshelf")), t.end()) << "No: the script goes on";
    const auto statuses = std::count_if(t.begin(), t.end(), [](const std::string& e) { return e.rfind("status: ", 0) == 0; });
    EXPECT_EQ(statuses, 2) << "parsing, then executing module... throughout";
    EXPECT_TRUE(loadedForm1()->isVisible());

    freshRun();
    fake.boxAnswers = {box::Yes};
    EXPECT_THROW(runLoader(), ProgramEnded);
    t = between(fake.timeline, box, "end 0");
    EXPECT_THAT(t, ElementsAreArray(std::vector<std::string>{
                       box, "log: TerminateMe() Received...", "log: >> Cleaning Up...", "log: Called ModuleStart().",
                       "log: >> $ModuleName == tidyup", mod("tidyup"), "log: >> Executed.", "log: >>Terminating.",
                       "log: Bye."}));
    EXPECT_EQ(std::find(fake.timeline.begin(), fake.timeline.end(), mod("webshelf")), fake.timeline.end());
    EXPECT_EQ(loadedForm11(), nullptr);
}

TEST(AutoExecCommandsTest, FirstTenCharactersLowerCasedNameTheCommand) {
    struct Case {
        std::string line;
        AutoExecCommand command;
        std::string value;
    };
    const std::vector<Case> cases = {
        {"execmodule=webshelf", AutoExecCommand::ExecModule, "webshelf"},
        {"ExecModule:webshelf", AutoExecCommand::ExecModule, "webshelf"},
        {"execmodule= web shelf ", AutoExecCommand::ExecModule, " web shelf "},
        {"execmodule", AutoExecCommand::ExecModule, ""},
        {"execplugin=alpha", AutoExecCommand::ExecPlugIn, "alpha"},
        {"EXECUNLOAD=whatever", AutoExecCommand::ExecUnload, "whatever"},
        {"execmodul=webshelf", AutoExecCommand::None, ""},
        {" execmodule=webshelf", AutoExecCommand::None, ""},
        {";execmodule=webshelf", AutoExecCommand::None, ""},
        {"", AutoExecCommand::None, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const auto got = autoExecCommands({c.line});
        ASSERT_EQ(got.size(), 1u);
        EXPECT_EQ(got[0].command, c.command);
        EXPECT_EQ(got[0].value, c.value);
    }
}

// A missing file goes to the loader's error path; the autoexec script only when it runs.
TEST_F(ScriptTest, MissingFilesTakeTheErrorPath) {
    struct Case {
        std::string file;
        std::string doautoexec;
        bool errorPath;
    };
    for (const auto& c : std::vector<Case>{{"autoexec.ini", "true", true},
                                           {"autoexec.ini", "false", false},
                                           {"information_sites.ini", "false", true}}) {
        SCOPED_TRACE(c.file + " " + c.doautoexec);
        freshRun();
        dir.writeLines("korvex.wfd/config/korvex.cfg", {"doautoexec=" + c.doautoexec, "usedskinis=qfs 3.1 default"});
        dir.write("korvex.wfd/config/autoexec.ini", "");
        dir.write("korvex.wfd/config/information_sites.ini", "");
        QFile::remove(QString::fromStdString(dir.file("korvex.wfd/config/" + c.file)));
        if (c.errorPath) {
            EXPECT_THROW(runLoader(), ProgramEnded);
            ASSERT_FALSE(fake.boxes.empty());
            EXPECT_THAT(fake.boxes[0].text, HasSubstr("Korvex Setup will be run now."));
            EXPECT_THAT(fake.boxes[0].text, HasSubstr("File not found, 53"));
        } else {
            runLoader();
            EXPECT_TRUE(fake.boxes.empty());
        }
    }
}

TEST_F(ScriptTest, SitesFillTheMenuWithTheirStatusesAndOpenTheirAddress) {
    sites({"; two sites", "[News]", "https://news.example.org/", "[Forum]", "https://forum.example.com/"});
    runLoader();
    EXPECT_THAT(between(fake.timeline, "log: Executing LoadWebSites()...", "log: Executing ParseAutoExec()..."),
                ElementsAreArray({"log: Executing LoadWebSites()...", "status: adding website  0... ", "sleep 30",
                                  "doEvents", "status: adding website  1... ", "sleep 30", "doEvents"}));
    EXPECT_THAT(siteItems(), ElementsAreArray({"News", "Forum"}));

    loadedForm1()->mnuBrowsethisWebSite[1]->trigger();
    EXPECT_EQ(fake.shellOpens, std::vector<std::string>{"https://forum.example.com/"});
    const auto log = logLines();
    EXPECT_THAT(std::vector<std::string>(log.end() - 5, log.end()),
                ElementsAreArray({"Called RetreiveWebSiteURL()", ">> $SiteDescriptor == Forum",
                                  ">> $RetreivedSite == https://forum.example.com/", "Called StartURL().",
                                  ">> $URL == https://forum.example.com/"}));

    // The file is read again for every look-up: a changed address counts at once.
    sites({"[News]", "https://news.example.org/", "[Forum]", "https://forum2.example.com/"});
    retreiveWebSiteURL("Forum");
    EXPECT_EQ(fake.shellOpens.back(), "https://forum2.example.com/");
}

TEST_F(ScriptTest, SiteDescriptorsTable) {
    struct Case {
        std::vector<std::string> lines;
        std::vector<std::string> items;
    };
    const std::vector<Case> cases = {
        {{}, {"no sites available (off)"}},
        {{"News", "http://x", "; [not at the start]"}, {"no sites available (off)"}},
        {{"[News", "http://x"}, {"New"}},
        {{"[", "[]", "http://x"}, {""}},
        {{"[News]", "http://a", "[News]", "http://b"}, {"News", "News"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines.empty() ? "empty" : c.lines[0]);
        freshRun();
        sites(c.lines);
        runLoader();
        EXPECT_THAT(siteItems(), ElementsAreArray(c.items));
        EXPECT_TRUE(fake.boxes.empty());
    }
    // Duplicates: both items open the address of the last one.
    loadedForm1()->mnuBrowsethisWebSite[0]->trigger();
    loadedForm1()->mnuBrowsethisWebSite[1]->trigger();
    EXPECT_EQ(fake.shellOpens, (std::vector<std::string>{"http://b", "http://b"}));
}

// A descriptor is data: its "&" is shown as itself, and the item looks up its own descriptor.
TEST_F(ScriptTest, AmpersandInADescriptorIsShownAsItself) {
    sites({"[Tom & Jerry]", "https://tj.example.org/", "[R&D]", "https://rd.example.org/"});
    runLoader();
    const auto& items = loadedForm1()->mnuBrowsethisWebSite;
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0]->text(), QStringLiteral("Tom && Jerry"));
    EXPECT_EQ(items[1]->text(), QStringLiteral("R&&D"));
    items[0]->trigger();
    items[1]->trigger();
    EXPECT_EQ(fake.shellOpens, (std::vector<std::string>{"https://tj.example.org/", "https://rd.example.org/"}));
    EXPECT_THAT(logLines(), ::testing::Contains(">> $SiteDescriptor == Tom & Jerry"));
}

// Each look-up starts empty: a descriptor no longer in the file, or standing on the last line,
// opens nothing (not the previous address) and does not fail.
TEST_F(ScriptTest, LookUpWithoutAnAddressOpensNothing) {
    sites({"[News]", "https://news.example.org/", "[Old]", "https://old.example.org/"});
    setKorvexDir(D());
    retreiveWebSiteURL("News");
    ASSERT_EQ(fake.shellOpens.size(), 1u);

    sites({"[News]", "https://news.example.org/", "[Last]"});
    // The look-up ends in StartURL of the empty address all the same: its log lines, nothing opened.
    for (const std::string d : {"Old", "Last", "news", "[News]"}) {
        SCOPED_TRACE(d);
        EXPECT_LE(retreiveWebSiteURL(d), 32);
        const auto log = logLines();
        EXPECT_THAT(std::vector<std::string>(log.end() - 5, log.end()),
                    ElementsAreArray(std::vector<std::string>{"Called RetreiveWebSiteURL()", ">> $SiteDescriptor == " + d,
                                      ">> $RetreivedSite == ", "Called StartURL().", ">> $URL == "}));
    }
    sites({"[Empty]", "", "[News]", "https://news.example.org/"});
    retreiveWebSiteURL("Empty");
    EXPECT_EQ(logLines().back(), ">> $URL == ");
    EXPECT_EQ(fake.shellOpens.size(), 1u);
    EXPECT_TRUE(fake.boxes.empty());

    EXPECT_EQ(webSiteURL({"[A]", "[B]", "[B]", "b"}, "B"), std::optional<std::string>("[B]"))
        << "the line after a descriptor is its address and is not read as a descriptor itself";
    EXPECT_EQ(webSiteURL({"[A]", "a", "[A]"}, "A"), std::nullopt) << "the last match decides";
}

TEST_F(ScriptTest, SiteItemReportsAFileThatIsGone) {
    sites({"[News]", "https://news.example.org/"});
    runLoader();
    QFile::remove(QString::fromStdString(dir.file("korvex.wfd/config/information_sites.ini")));
    fake.boxes.clear();
    loadedForm1()->mnuBrowsethisWebSite[0]->trigger();
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text, "An error occured while performing the specified task.\r\nFile not found, 53");
    EXPECT_EQ(fake.boxes[0].title, "error.");
    EXPECT_TRUE(fake.shellOpens.empty());
    const auto log = logLines();
    EXPECT_THAT(std::vector<std::string>(log.end() - 3, log.end()),
                ElementsAreArray({"ERROR HANDLER Called! Type: ShowError()", ">> $Description == File not found",
                                  ">> %i Number == 53"}));
}

} // namespace
