// Skins: skindefinition.ini into the main window's pictures, the failure box with the values it
// keeps between calls, the random skin over the chosen one.
#include "LauncherFixture.h"

#include "Form1.h"
#include "Launcher.h"
#include "Skins.h"

#include "core/Files.h"
#include "core/RunError.h"

#include <QBuffer>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QPixmap>

#include <filesystem>

#include <gmock/gmock.h>

using namespace kx;
using namespace kx::launcher;
using kx::launcher::test::LauncherTest;
using ::testing::ElementsAreArray;

namespace {

// A PNG whose width tells the pictures apart.
std::string pictureBytes(int width) {
    QImage image(width, 3, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes.toStdString();
}

// The width of the picture in a place, 0 when it has none.
int widthOf(const QLabel* place) { return place->pixmap().isNull() ? 0 : place->pixmap().width(); }

// Whether a place shows the window's own design picture of that name.
bool showsDesign(const QLabel* place, const char* name) {
    const QImage design(QStringLiteral(":/launcher/") + QLatin1String(name) + QStringLiteral(".png"));
    return !design.isNull() && !place->pixmap().isNull() &&
           place->pixmap().toImage().convertToFormat(design.format()) == design;
}

class Skins : public LauncherTest {
protected:
    void SetUp() override {
        LauncherTest::SetUp();
        skinValues() = {};
        setKorvexDir(D());
    }
    void writeSkin(const std::string& name, const std::vector<std::string>& definition) const {
        dir.writeLines("korvex.wfd/skins/" + name + "/skindefinition.ini", definition);
    }
    void writePicture(const std::string& rel, int width) const { dir.write(rel, pictureBytes(width)); }
    std::string skinDir(const std::string& name) const { return D() + "/korvex.wfd/skins/" + name + "/"; }
    std::string box(const std::string& line, const std::string& picture, const std::string& skin,
                    const std::string& error) const {
        return "Korvex 3.1 failed to load the Skin.\r\nUsing Standard Skin.\r\n\r\ntempSkinLine == " + line +
               "\r\nSkinUsePicture == " + picture + "\r\nUsedSkinDir == " + skinDir(skin) +
               "\r\nSkinDefFile == " + skinDir(skin) + "skindefinition.ini\r\n\r\n" + error;
    }
    // Log lines written since the run started, without the launch lines.
    std::vector<std::string> log() const { return logLines(); }
};

} // namespace

TEST_F(Skins, DefinitionLinesSetTheirPlacesAndLeaveTheOthers) {
    writePicture("korvex.wfd/skins/dark/logo.png", 11);
    writePicture("korvex.wfd/skins/dark/Pics/Body.PNG", 13);
    writeSkin("dark", {"; the dark skin", "LogoFile=logo.png", "headfile=", "bodyfile=pics\\body.png",
                       "hideline=TRUE", "iconfil=icon.png", "x"});
    Form1& f = form1();
    writePicture("design.png", 7);
    f.Image3->setPixmap(QPixmap(QString::fromStdString(D() + "/design.png")));

    applySkin("dark");
    EXPECT_TRUE(fake.boxes.empty()) << fake.boxes[0].text;
    EXPECT_EQ(widthOf(f.Image1), 11);
    EXPECT_EQ(widthOf(f.SkinBody), 13) << "a \\ in a value separates, names match ignoring case";
    EXPECT_EQ(widthOf(f.Image3), 7) << "'headfile=' changes nothing";
    EXPECT_TRUE(showsDesign(f.Image2, "icon"));
    EXPECT_TRUE(f.Line1->isHidden());
    EXPECT_EQ(std::count(fake.calls.begin(), fake.calls.end(), "doEvents"), 7) << "once per line";

    // A later skin shows the line again for any other value, and keeps what it does not set.
    writeSkin("light", {"hideline=false"});
    applySkin("light");
    EXPECT_FALSE(f.Line1->isHidden());
    EXPECT_EQ(widthOf(f.Image1), 11);
}

// "Using Standard Skin.": the window has design pictures of its own in every place, which a
// skin replaces only where it sets a picture, and a failed skin leaves.
TEST_F(Skins, TheWindowShowsItsDesignPicturesWhereNoSkinSetsOne) {
    Form1& f = form1();
    const std::pair<QLabel*, const char*> places[] = {
        {f.Image3, "head"}, {f.Image1, "logo"}, {f.SkinBody, "body"}, {f.Image2, "icon"}};
    for (const auto& [place, name] : places) {
        EXPECT_TRUE(showsDesign(place, name)) << name;
        EXPECT_GT(widthOf(place), 0) << name;
    }
    EXPECT_EQ(widthOf(f.Image1), widthOf(f.Image3)) << "head, logo and body span the window alike";
    EXPECT_EQ(widthOf(f.Image1), widthOf(f.SkinBody));
    EXPECT_FALSE(f.Line1->isHidden());

    applySkin("missing");
    ASSERT_EQ(fake.boxes.size(), 1u);
    for (const auto& [place, name] : places) EXPECT_TRUE(showsDesign(place, name)) << name;

    writePicture("korvex.wfd/skins/logo only/logo.png", 11);
    writeSkin("logo only", {"logofile=logo.png"});
    applySkin("logo only");
    EXPECT_EQ(widthOf(f.Image1), 11);
    EXPECT_TRUE(showsDesign(f.Image3, "head"));
    EXPECT_TRUE(showsDesign(f.SkinBody, "body"));
    EXPECT_TRUE(showsDesign(f.Image2, "icon"));
}

TEST_F(Skins, FailuresShowTheBoxWithTheValuesOfThatMoment) {
    writePicture("korvex.wfd/skins/dark/logo.png", 11);
    dir.write("korvex.wfd/skins/junk/broken.bmp", "BM not really a picture");
    writeSkin("dark", {"logofile=logo.png", "headfile=head.png", "iconfile=icon.png"});
    writeSkin("folder", {"headfile"});
    writeSkin("junk", {"bodyfile=broken.bmp"});
    Form1& f = form1();

    struct Case {
        std::string skin, text;
    };
    const std::vector<Case> cases = {
        // The second picture is missing: the first stays, the box names the second line.
        {"dark", box("headfile=head.png", skinDir("dark") + "head.png", "dark", "File not found( 53)")},
        // A missing skin folder: the line and picture of the call before are still shown.
        {"none", box("headfile=head.png", skinDir("dark") + "head.png", "none", "Path not found( 76)")},
        // "headfile" without "=" names the skin folder itself.
        {"folder", box("headfile", skinDir("folder"), "folder", "Path/File access error( 75)")},
        {"junk", box("bodyfile=broken.bmp", skinDir("junk") + "broken.bmp", "junk", "Invalid picture( 481)")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.skin);
        fake.boxes.clear();
        applySkin(c.skin);
        ASSERT_EQ(fake.boxes.size(), 1u);
        EXPECT_EQ(fake.boxes[0].text, c.text);
        EXPECT_EQ(fake.boxes[0].style, 16);
        EXPECT_EQ(fake.boxes[0].title, "Error...");
        EXPECT_EQ(state().msgText, c.text);
        EXPECT_EQ(state().msgStyle, "16");
        EXPECT_EQ(state().msgTitle, "Error...");
    }
    EXPECT_EQ(widthOf(f.Image1), 11);
    EXPECT_TRUE(showsDesign(f.Image3, "head"));
    EXPECT_TRUE(showsDesign(f.SkinBody, "body"));

    // Nothing was left open: once the picture is there, the same skin loads in full.
    writePicture("korvex.wfd/skins/dark/head.png", 12);
    writePicture("korvex.wfd/skins/dark/icon.png", 14);
    fake.boxes.clear();
    applySkin("dark");
    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_EQ(widthOf(f.Image3), 12);
    EXPECT_EQ(widthOf(f.Image2), 14);
}

TEST_F(Skins, ASkinNameThatLeavesTheSkinsFolderIsRefused) {
    writePicture("korvex.wfd/logo.png", 11);
    dir.writeLines("korvex.wfd/skindefinition.ini", {"logofile=logo.png"});
    applySkin("..");
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_THAT(fake.boxes[0].text, ::testing::EndsWith("Bad file name or number( 52)"));
    EXPECT_EQ(loadedForm1(), nullptr) << "no picture, no main window yet";

    // Nor does a picture that cannot be loaded make the main window.
    writeSkin("dark", {"; dark", "logofile=missing.png"});
    applySkin("dark");
    EXPECT_EQ(fake.boxes.size(), 2u);
    EXPECT_EQ(loadedForm1(), nullptr);
}

// What the skin chooser lists, the launcher applies: a folder's name is used as it is unless it
// holds a path, so "colon:name" loads, and "back\\slash" is neither listed nor cut to "slash".
TEST_F(Skins, EveryListedSkinFolderCanBeApplied) {
    const std::vector<std::string> names = {"colon:name", "what?", "tab\tname", "Tom & Jerry", "<a|b>"};
    int width = 20;
    for (const auto& name : names) {
        writeSkin(name, {"logofile=logo.png"});
        writePicture("korvex.wfd/skins/" + name + "/logo.png", width++);
    }
    width = 20;
    for (const auto& name : names) {
        SCOPED_TRACE(name);
        fake.boxes.clear();
        applySkin(name);
        EXPECT_TRUE(fake.boxes.empty()) << fake.boxes[0].text;
        EXPECT_EQ(widthOf(form1().Image1), width++);
    }

    writeSkin("back\\slash", {"logofile=logo.png"});
    writePicture("korvex.wfd/skins/back\\slash/logo.png", 40);
    writeSkin("slash", {"logofile=logo.png"});
    writePicture("korvex.wfd/skins/slash/logo.png", 41);
    fake.boxes.clear();
    applySkin("back\\slash");
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_THAT(fake.boxes[0].text, ::testing::EndsWith("Bad file name or number( 52)"));

    // The random skin draws from the same names: "back\\slash" is not among them.
    const auto log = [&](double r) {
        freshRun();
        setKorvexDir(D());
        fake.randoms = {r};
        applyRandomSkin();
        EXPECT_TRUE(fake.boxes.empty());
        return logLines();
    };
    const auto lines = log(0.0);
    std::vector<std::string> listed;
    for (const auto& l : lines)
        if (l.rfind(">> Retreiving", 0) != 0 && l.find(", ") != std::string::npos) listed.push_back(l.substr(l.find(", ") + 2));
    EXPECT_THAT(listed, ::testing::UnorderedElementsAreArray({"colon:name", "what?", "tab\tname", "Tom & Jerry", "<a|b>", "slash"}));
    for (size_t i = 0; i < listed.size(); ++i) {
        const auto l = log((static_cast<double>(i) + 0.5) / static_cast<double>(listed.size()));
        EXPECT_EQ(l[l.size() - 2], ">> Skins Name == " + listed[i]);
        EXPECT_EQ(widthOf(form1().Image1), listed[i] == "slash" ? 41 : 20 + static_cast<int>(std::find(names.begin(), names.end(), listed[i]) - names.begin()));
    }
}

TEST_F(Skins, TheShippedSkinsLoadWhole) {
    const std::string shipped = kx::test::sourceDir() + "/korvex.wfd/skins";
    std::filesystem::copy(shipped, D() + "/korvex.wfd/skins", std::filesystem::copy_options::recursive |
                                                                  std::filesystem::copy_options::overwrite_existing);
    const auto names = listFolders(shipped);
    ASSERT_THAT(names, ::testing::Contains("qfs 3.1 default"));
    ASSERT_GE(names.size(), 2u);
    for (const auto& name : names) {
        SCOPED_TRACE(name);
        freshRun();
        setKorvexDir(D());
        applySkin(name);
        EXPECT_TRUE(fake.boxes.empty());
        Form1& f = form1();
        for (const QLabel* place : {f.Image1, f.Image3, f.SkinBody, f.Image2}) EXPECT_GT(widthOf(place), 0);
        EXPECT_TRUE(fileExists(D() + "/korvex.wfd/skins/" + name + "/skininfo.ini"));
    }
}

TEST_F(Skins, RandomSkinLogsTheListAndAppliesTheDrawnOne) {
    writeSkin("dark", {"logofile=logo.png"});
    writePicture("korvex.wfd/skins/dark/logo.png", 11);
    writeSkin("Light", {"logofile=logo.png"});
    writePicture("korvex.wfd/skins/Light/logo.png", 12);
    dir.write("korvex.wfd/skins/readme.txt", "a file is no skin");
    const std::string folder = D() + "/korvex.wfd/skins";

    struct Case {
        double r;
        std::string index, name;
        int width;
    };
    for (const Case& c : {Case{0.0, " 0", "dark", 11}, Case{0.49, " 0", "dark", 11}, Case{0.5, " 1", "Light", 12},
                          Case{0.999999, " 1", "Light", 12}, Case{1.0, " 1", "Light", 12}}) {
        SCOPED_TRACE(c.r);
        freshRun();
        setKorvexDir(D());
        fake.randoms = {c.r};
        applyRandomSkin();
        EXPECT_THAT(logLines(), ElementsAreArray(std::vector<std::string>{
                                    ">> Executed.", ">> Retreiving Skins from " + folder, ">> 0, dark",
                                    ">> 1, Light", ">> Choosen Index ==" + c.index, ">> Skins Name == " + c.name,
                                    ">> ApplyRandomSkin() finished."}));
        EXPECT_EQ(widthOf(form1().Image1), c.width);
        EXPECT_TRUE(fake.boxes.empty());
    }
}

// No skin to draw from keeps the chosen skin; the start-up goes on without a box.
TEST_F(Skins, RandomSkinWithoutSkinsKeepsTheChosenOne) {
    for (bool removeFolder : {false, true}) {
        SCOPED_TRACE(removeFolder);
        freshRun();
        setKorvexDir(D());
        if (removeFolder) std::filesystem::remove_all(D() + "/korvex.wfd/skins");
        fake.randoms = {0.5};
        EXPECT_NO_THROW(applyRandomSkin());
        EXPECT_EQ(logLines(), (std::vector<std::string>{">> Executed.", ">> Retreiving Skins from " + D() + "/korvex.wfd/skins",
                                                        ">> ApplyRandomSkin() finished."}));
        EXPECT_TRUE(fake.boxes.empty());
    }
}

// The loader applies usedskinis, then a random skin over it: places the random one leaves
// alone keep the chosen skin's pictures. With no skin to draw from, the error path runs.
TEST_F(Skins, LoaderPutsTheRandomSkinOverTheChosenOne) {
    installModules();
    writeConfig(bobsValues());
    rewriteKeyLines(dir.file("korvex.wfd/config/korvex.cfg"), "t.tmp", 10, "randomskin", "randomskin=True");
    writeSkin("qfs 3.1 default", {"headfile=head.png", "logofile=logo.png"});
    writePicture("korvex.wfd/skins/qfs 3.1 default/head.png", 21);
    writePicture("korvex.wfd/skins/qfs 3.1 default/logo.png", 22);
    // The only other skin is in use too: whichever is drawn sets the logo to 31 or 22.
    writeSkin("zz", {"logofile=logo.png"});
    writePicture("korvex.wfd/skins/zz/logo.png", 31);
    fake.randoms = {0.9};
    runLoader();
    EXPECT_TRUE(fake.boxes.empty());
    ASSERT_NE(loadedForm1(), nullptr);
    EXPECT_TRUE(loadedForm1()->isVisible());
    EXPECT_EQ(widthOf(loadedForm1()->Image3), 21);
    EXPECT_EQ(widthOf(loadedForm1()->Image1), 31);
    const auto l = logLines();
    EXPECT_NE(std::find(l.begin(), l.end(), ">> Skins Name == zz"), l.end());

    // No skins at all: the chosen skin's box, and the start-up still reaches the main window.
    freshRun();
    std::filesystem::remove_all(D() + "/korvex.wfd/skins");
    runLoader();
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].title, "Error...");
    ASSERT_NE(loadedForm1(), nullptr);
    EXPECT_TRUE(loadedForm1()->isVisible());
}

TEST(FileNameOfPath, IsTheTextAfterTheLastSeparator) {
    EXPECT_EQ(fileNameOfPath("C:\\Games\\Arena\\korvex.wfd\\skins\\dark"), "dark");
    EXPECT_EQ(fileNameOfPath("/games/arena/korvex.wfd/skins/qfs 3.1 default"), "qfs 3.1 default");
    EXPECT_EQ(fileNameOfPath("C:\\skins\\"), "");
    EXPECT_EQ(fileNameOfPath("dark"), "dark");
}
