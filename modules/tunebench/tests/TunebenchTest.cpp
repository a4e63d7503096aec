// mod_tunebench's window and the game's default.cfg against a temporary game directory and
// the recording platform.
#include "Defaults.h"
#include "frmConfig.h"

#include "platform/FakePlatform.h"
#include "shared/Ui.h"
#include "shared/testing/GameDir.h"
#include "core/Files.h"
#include "core/RunError.h"
#include "core/Text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QAbstractItemView>
#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

namespace kx::tunebench {
namespace {

class Tunebench : public ::testing::Test {
protected:
    std::unique_ptr<frmConfig> load() {
        auto form = std::make_unique<frmConfig>(game.path());
        form->Form_Load();
        return form;
    }
    static void choose(frmConfig& f, int position) {
        selectComboIndex(f.Combo1, position);
        f.Combo1_Click();
    }
    static std::vector<int> sliders(const frmConfig& f) {
        return {f.ScrollFOV->value(), f.ScrollVIEWDIST->value(), f.ScrollMOUSESENS->value(),
                f.ScrollLATENCY->value(), f.ScrollMAXDUP->value(), f.ScrollMAXRESEND->value()};
    }
    static std::vector<std::string> labels(const frmConfig& f) {
        std::vector<std::string> out;
        for (const QLabel* l : {f.SettingsFov, f.SettingsViewDist, f.SettingsMousesens, f.SettingsLatency,
                                f.SettingsMaxDup, f.SettingsMaxResend})
            out.push_back(fromUi(l->text()));
        return out;
    }

    FakePlatform fake;
    test::GameDir game{"Quell fort"};
};

TEST_F(Tunebench, EveryPresetWritesItsTwelveLines) {
    const struct {
        std::string text;
        std::vector<int> sliders;
        std::vector<std::string> labels;
        std::string file;
    } table[] = {
        {"Playing, Modem", {200, 200, 13, 2, 2, 5}, {" 200", " 200", " 13", " 2", " 2", " 5"},
         "fov 200\r\nviewdist 200\r\nmousesens 13\r\nlatency 2\r\nmaxdup 2\r\nmaxresend 5\r\nscorelimit 0\r\n"
         "fraglimit 0\r\ntimelimit 0\r\nnextmap off\r\nnettest off\r\nfr off\r\n"},
        {"Playing, ISDN", {200, 300, 13, 1, 2, 20}, {" 200", " 300", " 13", " 1", " 2", " 20"},
         "fov 200\r\nviewdist 300\r\nmousesens 13\r\nlatency 1\r\nmaxdup 2\r\nmaxresend 20\r\nscorelimit 0\r\n"
         "fraglimit 0\r\ntimelimit 0\r\nnextmap off\r\nnettest off\r\nfr off\r\n"},
        {"Playing, DSL / Cable", {200, 600, 13, 1, 2, 30}, {" 200", " 600", " 13", " 1", " 2", " 30"},
         "fov 200\r\nviewdist 600\r\nmousesens 13\r\nlatency 1\r\nmaxdup 2\r\nmaxresend 30\r\nscorelimit 0\r\n"
         "fraglimit 0\r\ntimelimit 0\r\nnextmap off\r\nnettest off\r\nfr off\r\n"},
        {"Playing, T-Connection", {200, 700, 10, 0, 4, 40}, {" 200", " 700", " 10", " 0", " 4", " 40"},
         "fov 200\r\nviewdist 700\r\nmousesens 10\r\nlatency 0\r\nmaxdup 4\r\nmaxresend 40\r\nscorelimit 0\r\n"
         "fraglimit 0\r\ntimelimit 0\r\nnextmap off\r\nnettest off\r\nfr off\r\n"},
        {"Playing, LAN", {200, 1200, 9, 0, 4, 40}, {" 200", " 1200", " 9", " 0", " 4", " 40"},
         "fov 200\r\nviewdist 1200\r\nmousesens 9\r\nlatency 0\r\nmaxdup 4\r\nmaxresend 40\r\nscorelimit 0\r\n"
         "fraglimit 0\r\ntimelimit 0\r\nnextmap off\r\nnettest off\r\nfr off\r\n"},
        {"Debugging / Mapmaking", {200, 2000, 13, 0, 1, 40}, {" 200", " 2000", " 13", " 0", " 1", " 40"},
         "fov 200\r\nviewdist 2000\r\nmousesens 13\r\nlatency 0\r\nmaxdup 1\r\nmaxresend 40\r\nscorelimit 0\r\n"
         "fraglimit 0\r\ntimelimit 0\r\nnextmap off\r\nnettest on\r\nfr on\r\n"},
    };
    for (int position = 0; position < 6; ++position) {
        const auto& row = table[position];
        FakePlatform local;
        std::filesystem::remove(game.file("default.cfg"));
        auto form = load();
        EXPECT_EQ(fromUi(form->Combo1->itemText(position)), row.text);
        // Limits and "Nextmap" are reset by every preset, also after the user changed them.
        form->TextSCORELIMIT->setText("99");
        setCheckValue(form->CheckNEXTMAP, 1);
        choose(*form, position);
        EXPECT_EQ(sliders(*form), row.sliders) << row.text;
        EXPECT_EQ(labels(*form), row.labels) << row.text;
        form->Command11->click();
        EXPECT_EQ(game.read("default.cfg"), row.file) << row.text;
        ASSERT_EQ(local.boxes.size(), 1u);
        EXPECT_EQ(local.boxes[0].text, "your default.cfg was successful written to\r\n" + game.path());
        EXPECT_EQ(local.boxes[0].style, 64);
        EXPECT_EQ(local.boxes[0].title, "Info...");
        EXPECT_TRUE(form->unloaded());
    }
}

TEST_F(Tunebench, LoadShowsPresetZeroAndLeavesTheCurrentDirectory) {
    fake.current = "/elsewhere";
    auto form = load();
    EXPECT_EQ(form->windowTitle(), "configuring defaults...");
    EXPECT_EQ(form->Combo1->count(), 6);
    EXPECT_EQ(form->Combo1->currentIndex(), 0);
    EXPECT_EQ(labels(*form), (std::vector<std::string>{" 200", " 200", " 13", " 2", " 2", " 5"}));
    EXPECT_EQ(fake.current, "/elsewhere");
    EXPECT_TRUE(fake.boxes.empty());
}

TEST_F(Tunebench, EditedValuesAreWrittenAsShown) {
    game.writeLines("Default.CFG", {"bind x jump", "fov 90", "name Ann"}); // replaced whole
    auto form = load();
    form->ScrollFOV->setValue(455);
    form->ScrollMAXRESEND->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    form->ScrollMOUSESENS->triggerAction(QAbstractSlider::SliderPageStepSub); // 13 less the large step
    form->TextSCORELIMIT->setText("ten");
    form->TextFRAGLIMIT->setText("");
    form->TextTIMELIMIT->setText(" 20 ");
    form->CheckNEXTMAP->setCheckState(Qt::Checked); // Qt's 2 is the checked state, value 1
    setCheckValue(form->CheckNETTEST, 2);           // dimmed
    EXPECT_EQ(fromUi(form->SettingsFov->text()), " 455");
    form->Command11->click();
    EXPECT_EQ(game.read("Default.CFG"),
              "fov 455\r\nviewdist 200\r\nmousesens 3\r\nlatency 2\r\nmaxdup 2\r\nmaxresend 6\r\nscorelimit ten\r\n"
              "fraglimit \r\ntimelimit  20 \r\nnextmap on\r\nnettest \r\nfr off\r\n");
    EXPECT_EQ(listFiles(game.path(), "*.cfg"), std::vector<std::string>{"Default.CFG"});
}

TEST_F(Tunebench, TypingIntoThePresetListAppliesNothing) {
    auto form = load();
    choose(*form, 4);
    form->ScrollVIEWDIST->setValue(150);
    form->TextFRAGLIMIT->setText("7");
    form->Combo1->setFocus();
    QTest::keyClicks(form->Combo1->lineEdit(), "Playing");
    EXPECT_EQ(form->ScrollVIEWDIST->value(), 150);
    EXPECT_EQ(fromUi(form->TextFRAGLIMIT->text()), "7");
    form->ApplyConnectionPreset(-1);
    form->ApplyConnectionPreset(6);
    EXPECT_EQ(form->ScrollVIEWDIST->value(), 150);
    EXPECT_EQ(form->Combo1->count(), 6);
}

// The completer made one typed letter a whole entry, and leaving the box then applied it.
TEST_F(Tunebench, TextTypedIntoThePresetBoxIsNeverAppliedWhenTheBoxIsLeft) {
    const struct {
        const char* typed;
        Qt::Key leaveBy;
    } cases[] = {{"D", Qt::Key_Tab},           {"p", Qt::Key_Return}, {"Debugging / Mapmaking", Qt::Key_Tab},
                 {"Playing, LAN", Qt::Key_Enter}, {"x", Qt::Key_Tab}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        auto form = load();
        form->show();
        QApplication::setActiveWindow(form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        form->ScrollVIEWDIST->setValue(150);
        form->TextFRAGLIMIT->setText("7");
        form->Combo1->setFocus();
        form->Combo1->lineEdit()->selectAll();
        QTest::keyClicks(form->Combo1->lineEdit(), c.typed);
        EXPECT_EQ(fromUi(form->Combo1->currentText()), c.typed) << "nothing completed";
        QTest::keyClick(QApplication::focusWidget(), c.leaveBy);
        if (c.leaveBy == Qt::Key_Tab) EXPECT_FALSE(form->Combo1->hasFocus());
        EXPECT_EQ(sliders(*form), (std::vector<int>{200, 150, 13, 2, 2, 5}));
        EXPECT_EQ(fromUi(form->TextFRAGLIMIT->text()), "7");
        form->Command11->click();
        EXPECT_EQ(game.read("default.cfg").substr(0, 35), "fov 200\r\nviewdist 150\r\nmousesens 13");
    }
}

// Choosing from the list: its open list, or the arrow keys on the closed box.
TEST_F(Tunebench, AnEntryChosenFromTheListAppliesItsPreset) {
    auto form = load();
    form->show();
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    form->Combo1->setFocus();
    QTest::keyClicks(form->Combo1->lineEdit(), "zz");
    QTest::keyClick(form->Combo1, Qt::Key_Down, Qt::AltModifier); // opens the list
    QAbstractItemView* view = form->Combo1->view();
    ASSERT_TRUE(view->isVisible());
    for (int i = 0; i < 4; ++i) QTest::keyClick(view, Qt::Key_Down);
    QTest::keyClick(view, Qt::Key_Return);
    EXPECT_EQ(form->Combo1->currentIndex(), 4);
    EXPECT_EQ(sliders(*form), (std::vector<int>{200, 1200, 9, 0, 4, 40}));

    form->TextSCORELIMIT->setText("9");
    QTest::keyClick(form->Combo1->lineEdit(), Qt::Key_Down);
    EXPECT_EQ(form->Combo1->currentIndex(), 5);
    EXPECT_EQ(sliders(*form), (std::vector<int>{200, 2000, 13, 0, 1, 40}));
    EXPECT_EQ(fromUi(form->TextSCORELIMIT->text()), "0");
}

// Every slider is reached by Tab and moves by its small step with the arrow keys.
TEST_F(Tunebench, TheSlidersTakeFocusAndMoveWithTheArrowKeys) {
    auto form = load();
    form->show();
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    const std::vector<QScrollBar*> all = {form->ScrollFOV,    form->ScrollVIEWDIST, form->ScrollMOUSESENS,
                                          form->ScrollLATENCY, form->ScrollMAXDUP,   form->ScrollMAXRESEND};
    form->ScrollMOUSESENS->setValue(3);
    std::vector<QScrollBar*> reached;
    form->ScrollFOV->setFocus();
    ASSERT_TRUE(form->ScrollFOV->hasFocus());
    for (int i = 0; i < 40; ++i) {
        auto* bar = qobject_cast<QScrollBar*>(QApplication::focusWidget());
        if (bar && std::find(reached.begin(), reached.end(), bar) == reached.end()) {
            reached.push_back(bar);
            const int before = bar->value();
            QTest::keyClick(bar, Qt::Key_Right);
            EXPECT_EQ(bar->value(), std::min(before + bar->singleStep(), bar->maximum())) << bar->objectName().toStdString();
            QTest::keyClick(bar, Qt::Key_Left);
            EXPECT_EQ(bar->value(), before) << bar->objectName().toStdString();
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(reached, all);
    EXPECT_EQ(form->ScrollFOV->value(), 200);
    QTest::keyClick(form->ScrollFOV, Qt::Key_Right);
    EXPECT_EQ(fromUi(form->SettingsFov->text()), " 205");
}

TEST_F(Tunebench, AFailedWriteIsReportedAndNothingClaimsSuccess) {
    // A folder where the file belongs: the rename over it fails.
    game.write("default.cfg/keep", "x");
    auto form = load();
    form->Command11->click();
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text.rfind("an error occured while wirting to the file.\r\nunnormal program termination... (", 0),
              0u)
        << fake.boxes[0].text;
    EXPECT_EQ(fake.boxes[0].text.substr(fake.boxes[0].text.size() - 2), " )");
    EXPECT_EQ(fake.boxes[0].style, 16);
    EXPECT_EQ(fake.boxes[0].title, "Critical error");
    EXPECT_TRUE(form->unloaded());
    EXPECT_EQ(game.read("default.cfg/keep"), "x");
    EXPECT_EQ(listFiles(game.path(), "*.*", true), std::vector<std::string>{}) << "no temporary file left";
}

TEST_F(Tunebench, CancelWritesNothingAndAnEmptyCommandLineEnds) {
    auto form = load();
    form->Command12->click();
    EXPECT_TRUE(form->unloaded());
    EXPECT_FALSE(game.exists("default.cfg"));
    EXPECT_TRUE(fake.boxes.empty());

    frmConfig empty("");
    EXPECT_THROW(empty.Form_Load(), ProgramEnded);
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text, "The Execution of the module failed.\rPlease reinstall Korvex.");
    EXPECT_EQ(fake.boxes[0].style, 16);
    EXPECT_EQ(fake.boxes[0].title, "Critical Error.");
}

TEST(CheckValueToOnOff, MapsTheThreeStates) {
    EXPECT_EQ(CheckValueToOnOff(0), "off");
    EXPECT_EQ(CheckValueToOnOff(1), "on");
    EXPECT_EQ(CheckValueToOnOff(2), "");
    EXPECT_EQ(CheckValueToOnOff(-1), "");
}

TEST(DefaultCfgLines, ValuesCannotAddLines) {
    DefaultsText d;
    d.scorelimit = "5\r\nrcon_password x";
    const auto lines = defaultCfgLines(d);
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_EQ(lines[6], "scorelimit 5rcon_password x");
}

} // namespace
} // namespace kx::tunebench
