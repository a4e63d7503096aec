// mod_seatfinder's window against a temporary game directory and the recording platform.
#include "JoinCommand.h"
#include "ServerList.h"
#include "frmJoiner.h"

#include "platform/FakePlatform.h"
#include "shared/testing/GameDir.h"
#include "core/RunError.h"
#include "core/Text.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kx::seatfinder {
namespace {

const std::string kFixed = "xxx.xxx.xxx.xxx:24711";

std::vector<std::string> items(const QComboBox* c) {
    std::vector<std::string> out;
    for (int i = 0; i < c->count(); ++i) out.push_back(fromUi(c->itemText(i)));
    return out;
}

TEST(ServerList, NamesAndAddressesPairByOrder) {
    const auto list = parseServerList({";my servers", "Alpha", "#192.0.2.10:24711", "", "#DNS&Game.Example", "Gamma",
                                       "Delta", "#198.51.100.7:24711", ";#not an address", "##x"});
    // The empty line is a server with an empty name; pairing is by order alone, so Delta gets
    // "#x" from the last line and a ";" line is never an address.
    EXPECT_EQ(list.names, (std::vector<std::string>{"Alpha", "", "Gamma", "Delta"}));
    EXPECT_EQ(list.addresses,
              (std::vector<std::string>{"192.0.2.10:24711", "DNS&Game.Example", "198.51.100.7:24711", "#x"}));
    EXPECT_TRUE(parseServerList({}).names.empty());
}

TEST(ServerList, AppendedEntryBytes) {
    test::GameDir g;
    const struct {
        const char* before;
        const char* after;
    } cases[] = {
        {nullptr, "N\r\n#x\r\n"}, // no list yet
        {"", "N\r\n#x\r\n"},
        {"A\r\n#a\r\n", "A\r\n#a\r\nN\r\n#x\r\n"},
        {"A\r\n#a", "A\r\n#a\r\nN\r\n#x\r\n"}, // last line without its end
        {"A\n", "A\nN\r\n#x\r\n"},
        {"A\r", "A\rN\r\n#x\r\n"},
    };
    for (const auto& c : cases) {
        const std::string path = g.file("korvex.wfd/config/servers.ini");
        std::remove(path.c_str());
        if (c.before) g.write("korvex.wfd/config/servers.ini", c.before);
        appendServer(path, "N", "x");
        EXPECT_EQ(g.read("korvex.wfd/config/servers.ini"), c.after) << (c.before ? c.before : "(none)");
    }
}

TEST(ServerList, ConcurrentAddsKeepEveryEntry) {
    test::GameDir g;
    const std::string path = g.file("korvex.wfd/config/servers.ini");
    g.write("korvex.wfd/config/servers.ini", "Alpha\r\n#192.0.2.10:24711"); // no line end
    // Two join windows in two processes, each adding 100 servers.
    std::vector<pid_t> kids;
    for (int w = 0; w < 2; ++w) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            int bad = 0;
            for (int i = 0; i < 100; ++i) {
                try {
                    appendServer(path, "w" + std::to_string(w) + "-" + std::to_string(i), "192.0.2." + std::to_string(i));
                } catch (...) {
                    ++bad;
                }
            }
            ::_exit(bad);
        }
        kids.push_back(pid);
    }
    for (pid_t k : kids) {
        int status = 0;
        ::waitpid(k, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const auto list = parseServerList(splitLines(g.read("korvex.wfd/config/servers.ini")));
    ASSERT_EQ(list.names.size(), 201u);
    ASSERT_EQ(list.addresses.size(), 201u);
    for (size_t i = 1; i < list.names.size(); ++i) {
        // Every name is followed by its own address.
        const std::string n = list.names[i];
        EXPECT_EQ(list.addresses[i], "192.0.2." + n.substr(n.find('-') + 1)) << n;
    }
}

TEST(JoinCommand, PartsAndCommandText) {
    const auto cmd = joinCommand("/games/Arena", "192.168.0.10:24711", "Ann", "red");
    EXPECT_EQ(cmd.program, "/games/Arena/Game.exe");
    EXPECT_EQ(cmd.text, "Game.exe +connect 192.168.0.10:24711 +name \"Ann\" +team \"red\"");
    EXPECT_EQ(cmd.args, (std::vector<std::string>{"+connect", "192.168.0.10:24711", "+name", "Ann", "+team", "red"}));
}

class JoinForm : public ::testing::Test {
protected:
    void SetUp() override { fake.setProgramName("mod_seatfinder"); }
    void writeConfig(const std::vector<std::string>& lines) { game.writeLines("korvex.wfd/config/korvex.cfg", lines); }
    void writeServers(const std::string& bytes) { game.write("korvex.wfd/config/servers.ini", bytes); }
    std::string servers() const { return game.read("korvex.wfd/config/servers.ini"); }
    std::unique_ptr<frmJoiner> load() {
        auto form = std::make_unique<frmJoiner>(game.path());
        form->Form_Load();
        return form;
    }
    // The user picks an entry of the server list.
    static void pick(frmJoiner& form, int index) {
        form.lstServer->setCurrentIndex(index);
        emit form.lstServer->activated(index);
    }
    std::string address(const frmJoiner& form) const { return fromUi(form.textIP->text()); }

    FakePlatform fake;
    test::GameDir game{"Quell fort"};
};

TEST_F(JoinForm, LoadListsTheFixedEntryAndTheServers) {
    writeConfig({"playername=Ann", "host-teama= 2", "host-teama="});
    writeServers(";list\r\nAlpha\r\n#192.0.2.10:24711\r\nBeta\r\n#DNS&Game.Example\r\nGamma\r\n");
    auto form = load();
    EXPECT_EQ(items(form->lstServer), (std::vector<std::string>{"Custom Server", "Alpha", "Beta", "Gamma"}));
    EXPECT_EQ(form->lstIP->count(), 3);
    EXPECT_FALSE(form->lstIP->isVisibleTo(form.get()));
    EXPECT_EQ(form->lstServer->currentIndex(), 0);
    EXPECT_EQ(address(*form), kFixed);
    EXPECT_EQ(form->Command5->text(), "Query");
    EXPECT_EQ(fromUi(form->Text1->text()), "Ann");
    EXPECT_EQ(items(form->Combo2), (std::vector<std::string>{"auto", "blue", "red"}));
    EXPECT_EQ(form->Combo2->currentText(), "auto"); // the last line, empty, wins
    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_EQ(fake.current, "");

    pick(*form, 1);
    EXPECT_EQ(address(*form), "192.0.2.10:24711");
    pick(*form, 2);
    EXPECT_EQ(address(*form), "DNS&Game.Example");
    EXPECT_EQ(form->Command5->text(), "Resolve");
    pick(*form, 3); // a name without an address line
    EXPECT_EQ(address(*form), "");
    EXPECT_EQ(form->Command5->text(), "Query");
}

TEST_F(JoinForm, TeamDefaults) {
    for (const auto& [line, team] : std::vector<std::pair<std::string, std::string>>{
             {"host-teama= 1", "blue"}, {"//no team", "auto"}, {"host-teama= 3", "auto"}, {"host-teama= 1e9", "auto"}}) {
        writeConfig({line});
        EXPECT_EQ(load()->Combo2->currentText().toStdString(), team) << line;
    }
}

TEST_F(JoinForm, MissingFilesGiveTheFixedEntryOnly) {
    auto form = load();
    // korvex.cfg is reported by name; a missing server list is no fault.
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text, "An error occured while performing the specified task.\r\nFile not found: " +
                                      game.path() + "/korvex.wfd/config/korvex.cfg, 53");
    EXPECT_EQ(items(form->lstServer), (std::vector<std::string>{"Custom Server"}));
    EXPECT_EQ(address(*form), kFixed);
    EXPECT_EQ(form->Combo2->currentText(), "auto");
    EXPECT_EQ(fromUi(form->Text1->text()), "");
}

TEST_F(JoinForm, ListThatIsNoRegularFileIsReportedByName) {
    writeConfig({});
    const std::string path = game.file("korvex.wfd/config/servers.ini");
    for (const char* kind : {"pipe", "folder"}) {
        ::remove(path.c_str());
        ASSERT_EQ(kind == std::string("pipe") ? ::mkfifo(path.c_str(), 0600) : ::mkdir(path.c_str(), 0700), 0);
        fake.boxes.clear();
        auto form = load(); // a pipe with no writer must not hold the window back
        ASSERT_EQ(fake.boxes.size(), 1u) << kind;
        EXPECT_EQ(fake.boxes[0].text, "An error occured while performing the specified task.\r\nPath/File access error: " +
                                          path + ", 75") << kind;
        EXPECT_EQ(items(form->lstServer), (std::vector<std::string>{"Custom Server"})) << kind;
        EXPECT_EQ(address(*form), kFixed) << kind;
    }
}

TEST_F(JoinForm, EmptyCommandLineEndsBeforeTheWindow) {
    frmJoiner form("");
    EXPECT_THROW(form.Form_Load(), ProgramEnded);
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text, "The Execution of the module failed.\rPlease reinstall Korvex.");
    EXPECT_EQ(form.lstServer->count(), 0);
}

TEST_F(JoinForm, OkRefusesAddressesThatFailTheCheck) {
    writeConfig({});
    game.touchProgram("Game.exe");
    auto form = load();
    for (const std::string& text : {kFixed, std::string("dns&Game.Example"), std::string("192.0.2.1")}) {
        fake.boxes.clear();
        form->textIP->setText(toUi(text));
        form->Command1_Click();
        ASSERT_EQ(fake.boxes.size(), 1u);
        EXPECT_EQ(fake.boxes[0].text, "The Ip: '" + text + "' is no valid\r\nQuellfort IP adress");
        EXPECT_EQ(fake.boxes[0].style, 48);
        EXPECT_EQ(fake.boxes[0].title, "Error.");
    }
    EXPECT_TRUE(fake.starts.empty());
    EXPECT_FALSE(form->unloaded());
}

TEST_F(JoinForm, OkStartsTheGameFromItsPartsAndUnloads) {
    writeConfig({"host-teama= 2"});
    game.touchProgram("Game.exe");
    auto form = load();
    form->show();
    form->textIP->setText("192.0.2.10:24711");
    form->Text1->setText(toUi("Ann \"x\" +rcon_password y"));
    form->Command1_Click();
    ASSERT_EQ(fake.starts.size(), 1u);
    EXPECT_EQ(fake.starts[0].program, game.path() + "/Game.exe");
    EXPECT_EQ(fake.starts[0].args, (std::vector<std::string>{"+connect", "192.0.2.10:24711", "+name",
                                                             "Ann \"x\" +rcon_password y", "+team", "red"}));
    EXPECT_EQ(fake.starts[0].workDir, game.path());
    EXPECT_EQ(fake.calls[fake.calls.size() - 2], "chdir(" + game.path() + ")");
    EXPECT_TRUE(form->unloaded());
    EXPECT_FALSE(form->isVisible());
}

// A platform that really changes the current directory, as the real one does.
class ChdirPlatform : public FakePlatform {
public:
    std::string currentDir() override { return QDir::currentPath().toStdString(); }
    void setCurrentDir(const std::string& dir) override {
        FakePlatform::setCurrentDir(dir);
        if (!QDir::setCurrent(QString::fromStdString(dir))) throw RunError(err::PathNotFound);
    }
};

TEST(JoinFromARelativeGameDirectory, StartsTheGameOfThatDirectory) {
    ChdirPlatform fake;
    test::GameDir game{"Quell fort"};
    game.touchProgram("Game.exe");
    game.writeLines("korvex.wfd/config/korvex.cfg", {});
    struct Restore {
        QString dir = QDir::currentPath();
        ~Restore() { QDir::setCurrent(dir); }
    } restore;
    QDir::setCurrent(QString::fromStdString(game.path() + "/.."));
    const std::string relative = QFileInfo(QString::fromStdString(game.path())).fileName().toStdString();
    {
        frmJoiner form(relative);
        form.Form_Load();
        form.textIP->setText("192.0.2.10:24711");
        form.Command1_Click();
        ASSERT_EQ(fake.starts.size(), 1u);
        // Found from the directory the game runs in.
        EXPECT_TRUE(QFileInfo(QString::fromStdString(fake.starts[0].program)).isFile()) << fake.starts[0].program;
        EXPECT_EQ(QFileInfo(QString::fromStdString(fake.starts[0].program)).canonicalFilePath(),
                  QFileInfo(QString::fromStdString(game.file("Game.exe"))).canonicalFilePath());
        EXPECT_TRUE(QFileInfo(QString::fromStdString(fake.starts[0].workDir)).isDir());
    }
}

TEST_F(JoinForm, GameThatCannotStartKeepsTheWindow) {
    writeConfig({});
    auto form = load();
    form->show();
    form->textIP->setText("192.0.2.10:24711");
    form->Command1_Click();
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].title, "An Error occured");
    EXPECT_FALSE(form->unloaded());
    EXPECT_TRUE(form->isVisible());
}

TEST_F(JoinForm, ResolveTakesTheFirstAddressAndAddsThePort) {
    writeConfig({});
    fake.dns["Game.Example"] = {"192.0.2.10", "192.0.2.11"};
    auto form = load();
    form->textIP->setText("DNS&Game.Example");
    EXPECT_EQ(form->Command5->text(), "Resolve");
    form->Command5_Click();
    EXPECT_EQ(address(*form), "192.0.2.10:24711");
    EXPECT_EQ(form->Command5->text(), "Query");
    EXPECT_TRUE(fake.boxes.empty());
    // The host name keeps its own case; the socket service runs around the look-up.
    const std::vector<std::string> tail(fake.calls.end() - 3, fake.calls.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"socketsStart", "resolve(Game.Example)", "socketsStop"}));
}

TEST_F(JoinForm, UnresolvedNameSelectsTheFixedEntryAgain) {
    writeConfig({});
    writeServers("Alpha\r\n#dns&nowhere.example\r\n");
    for (const std::string& typed : {std::string("dns&nowhere.example"), std::string("dns&")}) {
        SCOPED_TRACE(typed);
        FakePlatform local;
        auto form = load();
        // The fixed entry is still selected while the user types a name into the box.
        ASSERT_EQ(form->lstServer->currentIndex(), 0);
        form->textIP->setText(toUi(typed));
        form->Command5_Click();
        ASSERT_EQ(local.boxes.size(), 1u);
        EXPECT_EQ(local.boxes[0].text, "The Hostadress could not be resolved.");
        EXPECT_EQ(local.boxes[0].style, 16);
        EXPECT_EQ(local.boxes[0].title, "Error.");
        EXPECT_EQ(form->lstServer->currentIndex(), 0);
        EXPECT_EQ(address(*form), kFixed);
        EXPECT_EQ(form->Command5->text(), "Query");
        // An empty name is never looked up: it would give the local machine.
        const bool lookedUp = std::find(local.calls.begin(), local.calls.end(), "resolve()") != local.calls.end();
        EXPECT_FALSE(lookedUp);
    }
}

TEST_F(JoinForm, ResolveFromAChosenServerThatIsNotFound) {
    writeConfig({});
    writeServers("Alpha\r\n#dns&nowhere.example\r\n");
    auto form = load();
    pick(*form, 1);
    form->Command5_Click();
    EXPECT_EQ(form->lstServer->currentIndex(), 0);
    EXPECT_EQ(address(*form), kFixed);
}

TEST_F(JoinForm, SocketServiceThatDoesNotStartEndsTheModule) {
    writeConfig({});
    fake.socketsStartResult = 10091;
    auto form = load();
    form->textIP->setText("dns&Game.Example");
    EXPECT_THROW(form->Command5_Click(), ProgramEnded);
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text, "Windows Sockets for 32 bit Windows is not successfully responding.");
    EXPECT_EQ(fake.boxes[0].style, 16);
    EXPECT_EQ(fake.boxes[0].title, "Error.");
}

TEST_F(JoinForm, QueryReportsReachabilityAndRestoresThePointer) {
    writeConfig({});
    fake.reachable["192.0.2.10"] = true;
    auto form = load();
    form->textIP->setText("192.0.2.10:24711");
    form->Command5_Click();
    form->textIP->setText("192.0.2.20:24711");
    form->Command5_Click();
    ASSERT_EQ(fake.boxes.size(), 2u);
    EXPECT_EQ(fake.boxes[0].text,
              "The Query has reported the IP being online.\r\n\r\nNOTE: This must not mean that a QF Server is "
              "currently active at this IP.\r\nThe Ping just checks if the IP is connected to the Internet.");
    EXPECT_EQ(fake.boxes[0].style, 64);
    EXPECT_EQ(fake.boxes[0].title, "Report.");
    EXPECT_EQ(fake.boxes[1].text, "The Query has reported the IP being offline.");
    const std::vector<std::string> asked = {"reachable(192.0.2.10)", "reachable(192.0.2.20)"};
    std::vector<std::string> reach;
    for (const auto& c : fake.calls)
        if (c.rfind("reachable(", 0) == 0) reach.push_back(c);
    EXPECT_EQ(reach, asked);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    fake.boxes.clear();
    form->textIP->setText(toUi(kFixed));
    form->Command5_Click();
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text, "The Ip: '" + kFixed + "' is no valid\r\nQuellfort IP adress");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(JoinForm, AddServerCancelledAddsNothing) {
    writeConfig({});
    writeServers("Alpha\r\n#192.0.2.10:24711\r\n");
    auto form = load();
    pick(*form, 1);
    // Cancelled at the name, then at the address.
    fake.inputAnswers = {std::nullopt, std::string("New"), std::string("")};
    form->Command2_Click();
    form->Command2_Click();
    ASSERT_EQ(fake.inputs.size(), 3u);
    EXPECT_EQ(fake.inputs[0].prompt, "Please enter the name of the Server.");
    EXPECT_EQ(fake.inputs[0].title, "Server's name?");
    EXPECT_EQ(fake.inputs[0].defaultText, "Alpha");
    EXPECT_EQ(fake.inputs[2].prompt, "Please enter the IP of the Server.");
    EXPECT_EQ(fake.inputs[2].title, "Server's IP?");
    EXPECT_EQ(fake.inputs[2].defaultText, "192.0.2.10:24711");
    ASSERT_EQ(fake.boxes.size(), 2u);
    for (const auto& b : fake.boxes) {
        EXPECT_EQ(b.text, "Nothing Added.");
        EXPECT_EQ(b.style, 64);
        EXPECT_EQ(b.title, "info.");
    }
    EXPECT_EQ(servers(), "Alpha\r\n#192.0.2.10:24711\r\n");
}

TEST_F(JoinForm, AddServerAppendsSelectsAndKeepsTheFixedEntry) {
    writeConfig({});
    writeServers(";mine\r\nAlpha\r\n#192.0.2.10:24711"); // the last line has no line end
    auto form = load();
    fake.inputAnswers = {std::string("New One"), std::string("dns&Game.Example")};
    form->mnuServerAddServer->trigger();
    EXPECT_EQ(servers(), ";mine\r\nAlpha\r\n#192.0.2.10:24711\r\nNew One\r\n#dns&Game.Example\r\n");
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text, "Server added!\r\nNew One @ dns&Game.Example");
    EXPECT_EQ(fake.boxes[0].style, 64);
    EXPECT_EQ(fake.boxes[0].title, "info.");
    EXPECT_EQ(items(form->lstServer), (std::vector<std::string>{"Custom Server", "Alpha", "New One"}));
    EXPECT_EQ(form->lstServer->currentIndex(), 2);
    EXPECT_EQ(address(*form), "dns&Game.Example");
    EXPECT_EQ(form->Command5->text(), "Resolve");
}

TEST_F(JoinForm, AddServerCreatesAMissingList) {
    writeConfig({});
    auto form = load();
    fake.inputAnswers = {std::string("First"), std::string("192.0.2.1:24711")};
    form->Command2_Click();
    EXPECT_EQ(servers(), "First\r\n#192.0.2.1:24711\r\n");
    EXPECT_EQ(items(form->lstServer), (std::vector<std::string>{"Custom Server", "First"}));
}

TEST_F(JoinForm, AddServerRefusesEntriesThatWouldNotReadBack) {
    writeConfig({});
    writeServers("Alpha\r\n#192.0.2.10:24711\r\n");
    auto form = load();
    const std::vector<std::pair<std::string, std::string>> refused = {
        {"#192.0.2.1:24711", "192.0.2.1:24711"}, {";hidden", "192.0.2.1:24711"},
        {"two\r\nlines", "192.0.2.1:24711"},     {"two\nlines", "192.0.2.1:24711"},
        {"ok", "192.0.2.1:24711\r\nEvil"},       {"ok", "x\ry"}};
    for (const auto& [name, addr] : refused) {
        fake.boxes.clear();
        fake.inputAnswers = {name, addr};
        form->Command2_Click();
        ASSERT_EQ(fake.boxes.size(), 1u) << name;
        EXPECT_EQ(fake.boxes[0].text, "Nothing Added.");
        fake.inputAnswers.clear();
    }
    EXPECT_EQ(servers(), "Alpha\r\n#192.0.2.10:24711\r\n");
}

TEST_F(JoinForm, AddServerWriteFailureIsReportedNotAnnounced) {
    writeConfig({});
    auto form = load();
    // A folder where the list should be: the write cannot land.
    QDir().mkpath(QString::fromStdString(game.file("korvex.wfd/config/servers.ini")));
    fake.inputAnswers = {std::string("New"), std::string("192.0.2.1:24711")};
    form->Command2_Click();
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].title, "error.");
    EXPECT_EQ(fake.boxes[0].style, 48);
    EXPECT_EQ(fake.boxes[0].text.rfind("An error occured while performing the specified task.\r\n", 0), 0u);
    EXPECT_EQ(items(form->lstServer), (std::vector<std::string>{"Custom Server"}));
}

TEST_F(JoinForm, AddServerToAReadOnlyListIsRefused) {
    writeConfig({});
    writeServers("Alpha\r\n#192.0.2.10:24711\r\n");
    ::chmod(game.file("korvex.wfd/config/servers.ini").c_str(), 0444);
    auto form = load();
    fake.inputAnswers = {std::string("New"), std::string("192.0.2.1:24711")};
    form->Command2_Click();
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text,
              "An error occured while performing the specified task.\r\nPermission denied, 70");
    EXPECT_EQ(servers(), "Alpha\r\n#192.0.2.10:24711\r\n");
    EXPECT_EQ(items(form->lstServer), (std::vector<std::string>{"Custom Server", "Alpha"}));
}

TEST_F(JoinForm, EditListOpensTheListInTheEditor) {
    writeConfig({});
    writeServers("");
    auto form = load();
    form->munServerEditList->trigger();
    form->Command4_Click();
    EXPECT_EQ(fake.editorOpens, (std::vector<std::string>(2, game.path() + "/korvex.wfd/config/servers.ini")));
    EXPECT_TRUE(fake.boxes.empty());
}

TEST_F(JoinForm, CancelUnloads) {
    writeConfig({});
    auto form = load();
    form->show();
    form->Command3->click();
    EXPECT_TRUE(form->unloaded());
    EXPECT_TRUE(fake.starts.empty());
}

} // namespace
} // namespace kx::seatfinder
