#pragma once
// The chat window: a browser control that opens the local start page, and two buttons that
// load the two chat services' pages.

#include <QWidget>

#include <string>

class QPushButton;
class QWebEngineView;

namespace kx::talkgate {

class frmBrowser : public QWidget {
    Q_OBJECT
public:
    explicit frmBrowser(std::string commandLine, QWidget* parent = nullptr);

    QWebEngineView* WebBrowse;
    QPushButton* Command1; // "Chat on " + the first service
    QPushButton* Command2; // "Chat on " + the second service
    QPushButton* Command3; // "&Done"

    // Checks the command line (the program ends on an empty one; the current directory stays)
    // and opens the start page.
    void Form_Load();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();

    // What the browser was last told to load.
    void navigate(const QUrl& address);
    // Loads an address into the view; a local page only when it is a regular file (else the
    // failure is reported and the view keeps what it shows).
    void openHere(const QUrl& address);

private:
    void openChatPage(int n);

    std::string commandLine_;
};

} // namespace kx::talkgate
