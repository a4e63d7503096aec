#pragma once
// The about box: its title names the version, its browser control shows the start page
// korvex.wfd/templates/about_startup.htm. Web addresses in the page go to the desktop.

#include <QSizeF>
#include <QWidget>

#include <string>

class QTextBrowser;
class QUrl;

namespace kx::launcher {

class Form6 : public QWidget {
    Q_OBJECT
public:
    explicit Form6(QWidget* parent = nullptr);

    QTextBrowser* WebBrowser1;

    void Form_Load();
    // A local page shows in the control, a web address opens through the desktop.
    void navigate(const std::string& target);

private:
    void WebBrowser1_LinkClicked(const QUrl& url);
};

// A page set into a browser control between these two is laid out with every paragraph longer
// than kShownBlock characters cut into blocks of at most that many (after a blank where there
// is one), so that no page takes long to show.
QSizeF holdPageLayout(QTextBrowser* browser);
void layOutPage(QTextBrowser* browser, const QSizeF& heldSize);

// "Korvex 3.1 Build 92"
std::string aboutTitle(int major, int minor, int revision);

} // namespace kx::launcher
