// The eight kinds end to end with the shipped templates: a new script saved unchanged is a
// file its reader in the suite accepts.
#include "EditorFixture.h"
#include "frmSaveTo.h"

#include "core/KeyPrefix.h"
#include "core/Files.h"
#include "core/Text.h"

#if KX_HAVE_MOD_SEATFINDER_FORMS
#include "ServerList.h"
#endif
#if KX_HAVE_MOD_ARENAWARDEN_FORMS
#include "ServerSets.h"
#endif

#include <QCoreApplication>

namespace kx::quillroom {
namespace {

using ScriptKinds = EditorTest;

std::vector<std::string> uncommented(const std::vector<std::string>& lines) {
    std::vector<std::string> out;
    for (const auto& l : lines)
        if (l.empty() || l[0] != ';') out.push_back(l);
    return out;
}

// The lines that follow each "[name]" line (count of them), as the site list and the
// function list read them; fails when a descriptor has too few lines after it.
std::map<std::string, std::vector<std::string>> descriptors(const std::vector<std::string>& lines, size_t count) {
    std::map<std::string, std::vector<std::string>> out;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].empty() || lines[i][0] != '[') continue;
        EXPECT_GE(lines[i].size(), 2u) << lines[i];
        EXPECT_EQ(lines[i].back(), ']') << lines[i];
        EXPECT_LE(i + count, lines.size() - 1) << "no lines after " << lines[i];
        if (i + count >= lines.size()) continue;
        out[lines[i].substr(1, lines[i].size() - 2)] =
            std::vector<std::string>(lines.begin() + long(i) + 1, lines.begin() + long(i + count) + 1);
        i += count;
    }
    return out;
}

void checkAutoexec(const std::vector<std::string>& lines) {
    // Every line is a comment or one of the three commands; nothing runs until the user says so.
    int commands = 0;
    forEachKeyLine(lines, keyRule(10, true), {"execmodule", "execplugin", "execunload"},
                   [&](size_t, const std::string&) { ++commands; });
    EXPECT_EQ(commands, 0);
    EXPECT_TRUE(uncommented(lines).empty());
}

void checkServerSet(const std::vector<std::string>& lines) {
#if KX_HAVE_MOD_ARENAWARDEN_FORMS
    std::map<arenawarden::SetKey, std::string> values;
    std::vector<std::string> maps;
    arenawarden::forEachServerSetLine(lines, [&](arenawarden::SetKey k, const std::string& v) {
        if (k == arenawarden::SetKey::AddMap) maps.push_back(v);
        else values[k] = v;
    });
    EXPECT_EQ(values[arenawarden::SetKey::Name], "My Korvex Server");
    const int players = std::stoi(values[arenawarden::SetKey::MaxPlayers]);
    EXPECT_TRUE(players >= 0 && players <= 28);
    const int type = std::stoi(values[arenawarden::SetKey::GameType]);
    EXPECT_TRUE(type >= 0 && type <= 2);
    const int cycle = std::stoi(values[arenawarden::SetKey::CycleTime]);
    EXPECT_TRUE(cycle >= 10 && cycle <= 90);
    EXPECT_EQ(values[arenawarden::SetKey::IsCycling], "false");
    EXPECT_EQ(values[arenawarden::SetKey::AdvertKx3], "true");
    EXPECT_EQ(maps, std::vector<std::string>{"the airbase"});
#else
    (void)lines;
#endif
}

void checkSites(const std::vector<std::string>& lines) {
    const auto sites = descriptors(lines, 1);
    ASSERT_EQ(sites.size(), 1u);
    EXPECT_EQ(sites.begin()->first, "My Web Site");
    EXPECT_EQ(sites.begin()->second[0].rfind("http://", 0), 0u);
}

void checkFunctions(const std::vector<std::string>& lines) {
    const auto functions = descriptors(lines, 4);
    ASSERT_EQ(functions.size(), 1u);
    const auto& f = functions.begin()->second;
    EXPECT_EQ(f[0], "HKEY_LOCAL_MACHINE");
    EXPECT_NE(f[1].front(), '\\');
    EXPECT_FALSE(f[2].empty());
    EXPECT_FALSE(f[3].empty());
}

void checkServers(const std::vector<std::string>& lines) {
#if KX_HAVE_MOD_SEATFINDER_FORMS
    const auto list = seatfinder::parseServerList(lines);
    EXPECT_EQ(list.names, std::vector<std::string>{"My Server"});
    EXPECT_EQ(list.addresses, std::vector<std::string>{"192.168.0.10:24711"});
#else
    EXPECT_EQ(uncommented(lines), (std::vector<std::string>{"My Server", "#192.168.0.10:24711"}));
#endif
}

void checkSkinDefinition(const std::vector<std::string>& lines) {
    // Picture keys without a value are 9 characters long and change nothing; the line stays.
    const std::vector<std::string> keys{"logofile", "headfile", "bodyfile", "iconfile", "hideline"};
    std::vector<std::string> settings;
    for (const auto& l : lines) {
        if (l.size() == 9) continue;
        forEachKeyLine({l}, keyRule(8, true), keys, [&](size_t k, const std::string& v) { settings.push_back(keys[k] + "=" + v); });
    }
    EXPECT_EQ(settings, std::vector<std::string>{"hideline=false"});
}

void checkSkinInfo(const std::vector<std::string>& lines) {
    EXPECT_EQ(uncommented(lines), (std::vector<std::string>{"Skin name   : My Skin", "Skin author : Bob",
                                                            "Description : describe your skin here."}));
}

void checkPlugIn(const std::vector<std::string>& lines) {
    const std::vector<std::string> keys{"authorn", "version", "approot", "appfile", "shdebug", "useswfd", "usesqfd", "rtninfo"};
    const auto values = readKeyLines(lines, keyRule(7), keys);
    EXPECT_EQ(values.size(), keys.size());
    for (const char* flag : {"shdebug", "useswfd", "usesqfd", "rtninfo"}) {
        const std::string v = values.count(flag) ? values.at(flag) : "";
        EXPECT_TRUE(v == "true" || v == "false") << flag;
    }
    EXPECT_EQ(values.at("appfile"), "myprogram.exe");
}

TEST_F(ScriptKinds, NewScriptsSavedUnchangedAreReadByTheirReaders) {
    g.writeLines("korvex.wfd/config/korvex.cfg", {"playername=Bob"});
    struct Row {
        int kind;
        std::string saved;
        void (*check)(const std::vector<std::string>&);
    };
    const std::vector<Row> rows{
        {0, "korvex.wfd/config/autoexec.ini", checkAutoexec},
        {1, "korvex.wfd/config/serversets/my new ServerSet.ini", checkServerSet},
        {2, "korvex.wfd/config/information_sites.ini", checkSites},
        {3, "korvex.wfd/config/orn_functions.ini", checkFunctions},
        {4, "korvex.wfd/config/servers.ini", checkServers},
        {5, "korvex.wfd/skins/Skindefinition.ini", checkSkinDefinition},
        {6, "korvex.wfd/skins/Skininfo.ini", checkSkinInfo},
        {7, "korvex.wfd/plugins/start My PlugIn.spi", checkPlugIn},
    };
    frmMain& w = editor();
    for (const Row& r : rows) {
        SCOPED_TRACE(r.saved);
        fake.boxes.clear();
        ASSERT_NE(newScriptSaveDialog(r.kind), nullptr);
        fake.boxAnswers = {box::Yes};
        w.saveTo()->Command1_Click();
        ASSERT_EQ(boxTexts().size(), 2u);
        EXPECT_EQ(boxTexts()[1], "File has been saved.");
        deletePending();
        EXPECT_EQ(w.saveTo(), nullptr);

        const std::string bytes = g.read(r.saved);
        EXPECT_EQ(bytes, editorBytes());
        const auto lines = splitLines(bytes);
        // The common header names the kind and the player; no code is left in the file.
        EXPECT_NE(bytes.find(std::string("; Type      : ") + scriptKinds()[size_t(r.kind)].title + "\r\n"),
                  std::string::npos);
        EXPECT_NE(bytes.find("; Author    : Bob\r\n"), std::string::npos);
        for (const auto& l : lines) EXPECT_EQ(l.find('%'), std::string::npos) << l;
        r.check(lines);
        // Still a new script: saving again asks for a destination again.
        w.mnuFileSaveCurrent->trigger();
        ASSERT_NE(w.saveTo(), nullptr);
        w.saveTo()->Command2_Click();
        deletePending();
    }
}

} // namespace
} // namespace kx::quillroom
