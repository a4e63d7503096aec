#include "Form7.h"

#include "Launcher.h"

#include "core/Text.h"
#include "shared/Ui.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace kx::launcher {

Form7::Form7(QWidget* parent) : QWidget(parent) {
    setObjectName("Form7");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle("Quellfort Korvex - ReadMe");
    resize(twips(9000), twips(7000));
    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName("Text1");
    Text1->setFont(namedFont("Fixedsys", 9));
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // A text to read: wrapped at words to the window, not to be changed, Tab moves on.
    makeReadingText(Text1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Text1);
    Form_Load();
}

void Form7::Form_Load() {
    Text1->clear();
    std::string text;
    try {
        text = loadText(state().viewerFile);
    } catch (const RunError& e) {
        showError(e);
        return;
    }
    setShownText(Text1, toUi(replaceAll(text, "\r\n", "\n")));
}

} // namespace kx::launcher
