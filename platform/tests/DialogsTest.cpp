// Boxes and input boxes of the real platform: scripted (KORVEX_DIALOGS) across processes, and
// shown (offscreen) with their buttons, plain text and Esc.
#include "platform/RealPlatform.h"
#include "Support.h"

#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>

namespace kx {
namespace {

using test::EnvGuard;

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t nl = text.find('\n', pos);
        if (nl == std::string::npos) nl = text.size();
        out.push_back(text.substr(pos, nl - pos));
        pos = nl + 1;
    }
    return out;
}

class ScriptedDialogs : public ::testing::Test {
protected:
    test::TempDir tmp;
    std::string log = tmp.file("dialogs.jsonl"), answers = tmp.file("answers.txt");
    EnvGuard dialogs{"KORVEX_DIALOGS", log};
    EnvGuard answerFile{"KORVEX_DIALOG_ANSWERS", answers};
    EnvGuard helperName{"KX_HELPER_NAME", std::string("mod_helper")};
    std::unique_ptr<Platform> p = makeRealPlatform();

    void SetUp() override { p->setProgramName("QFKorvex"); }
    std::vector<std::string> records() { return lines(test::readBytes(log)); }
};

TEST_F(ScriptedDialogs, AppendsTheExactRecordAndAnswersFromTheScript) {
    test::writeBytes(answers, "yes\r\ntext:my \"server\" \r\nCANCEL\n");
    EXPECT_EQ(p->msgBox("Delete it?\r\nReally \"sure\"\\\tnow", 36, ""), box::Yes);
    EXPECT_EQ(p->inputBox("Please enter the name of the Server.", "Server's name?", "old"), "my \"server\" ");
    EXPECT_EQ(p->msgBox("caf\xe9 \x80\x01", 49, "error."), box::Cancel);
    EXPECT_EQ(records(), (std::vector<std::string>{
                             R"({"program":"QFKorvex","kind":"msgbox","text":"Delete it?\r\nReally \"sure\"\\\tnow","style":36,"title":"QFKorvex","answer":"yes"})",
                             R"({"program":"QFKorvex","kind":"inputbox","text":"Please enter the name of the Server.","style":0,"title":"Server's name?","answer":"my \"server\" "})",
                             "{\"program\":\"QFKorvex\",\"kind\":\"msgbox\",\"text\":\"caf\xc3\xa9 \xe2\x82\xac\\u0001\",\"style\":49,"
                             "\"title\":\"error.\",\"answer\":\"cancel\"}",
                         }));
    EXPECT_EQ(test::readBytes(answers), ""); // every answer taken
}

TEST_F(ScriptedDialogs, NoAnswerLeftGivesOkNoOrEmpty) {
    // No answers file at all.
    EXPECT_EQ(p->msgBox("a", 64, "info."), box::Ok);
    EXPECT_EQ(p->msgBox("b", 1, ""), box::Ok);
    EXPECT_EQ(p->msgBox("c", 36, ""), box::No);
    EXPECT_EQ(p->inputBox("d", "", "the default"), "");
    const auto r = records();
    ASSERT_EQ(r.size(), 4u);
    EXPECT_NE(r[2].find("\"answer\":\"no\""), std::string::npos);
    EXPECT_NE(r[3].find("\"answer\":\"\"}"), std::string::npos);
}

TEST_F(ScriptedDialogs, AnswersThatDoNotFitTakeTheNearestButton) {
    struct Case {
        std::string answer;
        int style, expected;
    } cases[] = {
        {"yes", 0, box::Ok},     {"no", 48, box::Ok},     {"cancel", 16, box::Ok}, {"yes", 1, box::Ok},
        {"no", 49, box::Cancel}, {"ok", 36, box::Yes},    {"cancel", 4, box::No},  {"text:x", 4, box::No},
        {"text:x", 1, box::Ok},  {"maybe", 36, box::No},  {"  No  ", 36, box::No},  {"Ok", 1, box::Ok},
    };
    std::string script;
    for (const auto& c : cases) script += c.answer + "\n";
    test::writeBytes(answers, script);
    for (const auto& c : cases) EXPECT_EQ(p->msgBox("q", c.style, ""), c.expected) << c.answer << " " << c.style;
    // Input boxes: ok/yes accept the default, cancel/no give "", blank lines are skipped.
    test::writeBytes(answers, "ok\n\n  \nno\nyes\ntext:\n");
    EXPECT_EQ(p->inputBox("p", "", "def"), "def");
    EXPECT_EQ(p->inputBox("p", "", "def"), "");
    EXPECT_EQ(p->inputBox("p", "", "def"), "def");
    EXPECT_EQ(p->inputBox("p", "", "def"), "");
    EXPECT_EQ(records().size(), std::size(cases) + 4);
}

TEST_F(ScriptedDialogs, AnswersAreConsumedInOrderAcrossProcesses) {
    test::writeBytes(answers, "no\ntext:caf\xc3\xa9\nyes\n");
    EXPECT_EQ(test::runHelper({"box", "Quit?", "36", "Sure?"}).out, "7");
    EXPECT_EQ(test::runHelper({"input", "Name?", "", "x"}).out, "caf\xe9"); // UTF-8 answer, 1252 result
    EXPECT_EQ(p->msgBox("Again?", 4, ""), box::Yes);
    EXPECT_EQ(test::runHelper({"box", "Last?", "36", ""}).out, "7"); // none left
    const auto r = records();
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(r[0], R"({"program":"mod_helper","kind":"msgbox","text":"Quit?","style":36,"title":"Sure?","answer":"no"})");
    EXPECT_EQ(r[1], "{\"program\":\"mod_helper\",\"kind\":\"inputbox\",\"text\":\"Name?\",\"style\":0,\"title\":\"mod_helper\","
                    "\"answer\":\"caf\xc3\xa9\"}");
    EXPECT_NE(r[2].find("\"program\":\"QFKorvex\""), std::string::npos);
    EXPECT_NE(r[3].find("\"title\":\"mod_helper\",\"answer\":\"no\""), std::string::npos);
}

TEST_F(ScriptedDialogs, ConcurrentProgramsTakeEveryAnswerOnce) {
    std::string script;
    for (int i = 0; i < 40; ++i) script += "text:a" + std::to_string(i) + "\n";
    test::writeBytes(answers, script);
    std::vector<std::unique_ptr<QProcess>> runs;
    for (int i = 0; i < 4; ++i) runs.push_back(test::startHelper({"inputs", "10"}));
    std::multiset<std::string> given;
    for (auto& r : runs) {
        ASSERT_TRUE(r->waitForFinished(20000));
        for (const auto& l : lines(r->readAllStandardOutput().toStdString())) given.insert(l);
    }
    std::multiset<std::string> expected;
    for (int i = 0; i < 40; ++i) expected.insert("a" + std::to_string(i));
    EXPECT_EQ(given, expected);
    // The records are in the order the answers were taken.
    const auto r = records();
    ASSERT_EQ(r.size(), 40u);
    for (int i = 0; i < 40; ++i)
        EXPECT_NE(r[size_t(i)].find("\"answer\":\"a" + std::to_string(i) + "\"}"), std::string::npos) << r[size_t(i)];
}

// --- shown boxes (offscreen) -------------------------------------------------------------------

class ShownDialogs : public ::testing::Test {
protected:
    EnvGuard dialogs{"KORVEX_DIALOGS", std::nullopt};
    std::unique_ptr<Platform> p = makeRealPlatform();
    void SetUp() override { p->setProgramName("mod_arenawarden"); }
};

// Acts on the modal box once it is up.
void whenShown(std::function<void(QWidget*)> act) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (QWidget* w = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            act(w);
        }
    });
    timer->start(10);
}

TEST_F(ShownDialogs, BoxShowsPlainTextLinesTitleAndButtons) {
    QString seenText, seenTitle;
    Qt::TextFormat format = Qt::AutoText;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    whenShown([&](QWidget* w) {
        auto* b = qobject_cast<QMessageBox*>(w);
        ASSERT_TRUE(b);
        seenText = b->text();
        seenTitle = b->windowTitle();
        format = b->textFormat();
        icon = b->icon();
        buttons = b->standardButtons();
        b->button(QMessageBox::Yes)->click();
    });
    EXPECT_EQ(p->msgBox("<b>one</b>\r\ntwo\rthree\nfour caf\xe9", 36, ""), box::Yes);
    EXPECT_EQ(seenText, QString::fromUtf8("<b>one</b>\ntwo\nthree\nfour caf\xc3\xa9"));
    EXPECT_EQ(seenTitle, "mod_arenawarden");
    EXPECT_EQ(format, Qt::PlainText);
    EXPECT_EQ(icon, QMessageBox::Question);
    EXPECT_EQ(buttons, QMessageBox::Yes | QMessageBox::No);
}

// A value of any size in a box's text or title: the box shows a bounded part of it at once.
TEST_F(ShownDialogs, BoxWithAHugeValueShowsItCut) {
    const struct {
        std::string text, title;
    } cases[] = {
        {"The line " + std::string(10'000'000, 'x') + " was read.", "t"},
        {"short", std::string(10'000'000, 'y')},
        {[] {
             std::string many;
             for (int i = 0; i < 100'000; ++i) many += "line\r\n";
             return many;
         }(),
         "t"},
    };
    for (const auto& c : cases) {
        QString seenText, seenTitle;
        whenShown([&](QWidget* w) {
            auto* b = qobject_cast<QMessageBox*>(w);
            ASSERT_TRUE(b);
            seenText = b->text();
            seenTitle = b->windowTitle();
            b->button(QMessageBox::Ok)->click();
        });
        EXPECT_EQ(p->msgBox(c.text, 0, c.title), box::Ok);
        EXPECT_LT(seenText.size(), 10'000);
        EXPECT_LT(seenTitle.size(), 1'000);
        EXPECT_TRUE(seenText.startsWith(QString::fromStdString(c.text.substr(0, 20)).replace("\r\n", "\n")));
    }
}

TEST_F(ShownDialogs, EscapeAnswersNoCancelOrOk) {
    for (const auto& [style, expected] : std::vector<std::pair<int, int>>{{36, box::No}, {49, box::Cancel}, {16, box::Ok}}) {
        whenShown([](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
        EXPECT_EQ(p->msgBox("x", style, "t"), expected) << style;
    }
    whenShown([](QWidget* w) { w->close(); });
    EXPECT_EQ(p->msgBox("x", 4, "t"), box::No);
}

TEST_F(ShownDialogs, InputBoxGivesTextOrEmptyOnCancel) {
    QString label;
    whenShown([&](QWidget* w) {
        auto* d = qobject_cast<QInputDialog*>(w);
        ASSERT_TRUE(d);
        label = d->labelText();
        for (QLabel* l : d->findChildren<QLabel*>()) EXPECT_EQ(l->textFormat(), Qt::PlainText);
        EXPECT_EQ(d->textValue(), "new folder");
        EXPECT_EQ(d->windowTitle(), "Create folder.");
        d->setTextValue(QString::fromUtf8("caf\xc3\xa9"));
        d->accept();
    });
    EXPECT_EQ(p->inputBox("Name:\r\n<i>x</i>", "Create folder.", "new folder"), "caf\xe9");
    EXPECT_EQ(label, "Name:\n<i>x</i>");

    whenShown([](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
    EXPECT_EQ(p->inputBox("Name:", "", "new folder"), "");
}

TEST_F(ShownDialogs, InputBoxKeepsALongDefaultTextWhole) {
    const std::string longText(40000, 'x'); // past Qt's default limit of 32,767
    whenShown([](QWidget* w) { qobject_cast<QDialog*>(w)->accept(); });
    EXPECT_EQ(p->inputBox("Name:", "t", longText), longText);
}

} // namespace
} // namespace kx
