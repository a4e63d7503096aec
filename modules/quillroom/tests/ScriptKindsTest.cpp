// The eight kinds end to end with the shipped templates: a new script saved unchanged is a
// file its reader in the suite accepts.
#include "EditorFixture.h"
#include "frmSaveTo.h"

#include "core/Files.h"
#include "core/Text.h"
#include "shared/PlugInScript.h"

// The readers of the launcher and of plg_orn.
#include "AutoExec.h"
#include "OrnFunctions.h"
#include "Skins.h"
#include "WebSites.h"

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

void checkAutoexec(const std::vector<std::string>& lines) {
    // Nothing runs until the user says so; each example, once its ";" is removed, is the
    // command it shows.
    const auto named = [](const std::vector<std::string>& ls) {
        static const char* const names[] = {"none", "execmodule", "execplugin", "execunload"};
        std::vector<std::string> out;
        for (const auto& c : launcher::autoExecCommands(ls)) out.push_back(names[int(c.command)] + (" " + c.value));
        return out;
    };
    for (const auto& c : named(lines)) EXPECT_EQ(c.rfind("none ", 0), 0u) << c;
    EXPECT_TRUE(uncommented(lines).empty());
    std::vector<std::string> examples;
    for (const auto& l : lines)
        if (l.rfind(";exec", 0) == 0) examples.push_back(l.substr(1));
    EXPECT_EQ(named(examples),
              (std::vector<std::string>{"execmodule webshelf", "execplugin start My PlugIn.spi", "execunload "}));
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
    EXPECT_EQ(launcher::webSiteDescriptors(lines), std::vector<std::string>{"My Web Site"});
    const auto url = launcher::webSiteURL(lines, "My Web Site");
    ASSERT_TRUE(url.has_value());
    EXPECT_EQ(url->rfind("http://", 0), 0u) << *url;
}

void checkFunctions(const std::vector<std::string>& lines) {
    const orn::Descriptor d = orn::findDescriptor(lines, "myfunction");
    ASSERT_TRUE(d.matched);
    EXPECT_EQ(d.tree, "HKEY_LOCAL_MACHINE");
    EXPECT_NE(orn::hiveHandle(d.tree), 0u);
    ASSERT_FALSE(d.keyName.empty());
    EXPECT_NE(d.keyName.front(), '\\');
    EXPECT_FALSE(d.key.empty());
    EXPECT_EQ(d.exe, "myprogram.exe");
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
    // Picture keys without a value are 9 characters long and skipped; only the line setting is made.
    std::vector<std::string> settings;
    for (const auto& l : lines) {
        const launcher::SkinLine s = launcher::parseSkinLine(l);
        if (!s.skipped && s.key != launcher::SkinKey::None)
            settings.push_back(std::to_string(int(s.key)) + "=" + s.value);
    }
    EXPECT_EQ(settings, std::vector<std::string>{std::to_string(int(launcher::SkinKey::HideLine)) + "=false"});
}

void checkSkinInfo(const std::vector<std::string>& lines) {
    EXPECT_EQ(uncommented(lines), (std::vector<std::string>{"Skin name   : My Skin", "Skin author : Bob",
                                                            "Description : describe your skin here."}));
}

void checkPlugIn(const std::vector<std::string>& lines) {
    // The wizard reads all eight keys back; the launcher its six, each flag true or false.
    const auto wizard = readPlugInScript(lines, SpiRules::Wizard);
    for (const char* key : {spikey::Author, spikey::Version}) EXPECT_EQ(wizard.count(key), 1u) << key;
    const auto values = readPlugInScript(lines, SpiRules::Launcher);
    for (const char* flag : {spikey::ShDebug, spikey::UsesWfd, spikey::UsesQfd, spikey::RtnInfo}) {
        const std::string v = values.count(flag) ? values.at(flag) : "";
        EXPECT_TRUE(v == "true" || v == "false") << flag << "=" << v;
    }
    ASSERT_EQ(values.count(spikey::AppRoot), 1u);
    EXPECT_EQ(values.at(spikey::AppRoot).back(), '\\');
    ASSERT_EQ(values.count(spikey::AppFile), 1u);
    EXPECT_EQ(values.at(spikey::AppFile), "myprogram.exe");
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
