#include "Form6.h"

#include "Launcher.h"

#include "core/Files.h"
#include "platform/Platform.h"
#include "core/Text.h"
#include "shared/Ui.h"
#include "shared/widgets/PageBrowser.h"

#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>

namespace kx::launcher {

QSizeF holdPageLayout(QTextBrowser* browser) {
    // Qt lays a page out one block (paragraph) at a time, in time that grows with the square
    // of the block's length: a page with one 10 MB paragraph would not show for many minutes.
    // A document whose page size is 0 x 0 lays out nothing, so the page goes in without a
    // layout, its long blocks are cut, and then it is laid out.
    QTextDocument* page = browser->document();
    const QSizeF size = page->pageSize();
    page->setPageSize(QSizeF(0, 0));
    return size;
}

void layOutPage(QTextBrowser* browser, const QSizeF& size) {
    QTextDocument* page = browser->document();
    QTextCursor cursor(page);
    cursor.beginEditBlock();
    for (QTextBlock block = page->begin(); block.isValid(); block = block.next()) {
        if (block.length() - 1 <= kShownBlock) continue;
        const QString text = block.text();
        const int start = block.position();
        int from = 0, breaks = 0;
        while (text.size() - from > kShownBlock) {
            // After the last blank within the bound, so that words stay whole where they can.
            const auto blank = QStringView(text).mid(from, kShownBlock).lastIndexOf(QLatin1Char(' '));
            const int cut = blank > 0 ? from + static_cast<int>(blank) + 1 : from + kShownBlock;
            // Each break made so far stands before the rest of the text.
            cursor.setPosition(start + cut + breaks);
            cursor.insertBlock();
            ++breaks;
            from = cut;
        }
        block = cursor.block();
    }
    cursor.endEditBlock();
    page->setPageSize(size);
}

std::string aboutTitle(int major, int minor, int revision) {
    return "Korvex" + numText(static_cast<long long>(major)) + "." + numTextTrimmed(minor) + " Build" +
           numText(static_cast<long long>(revision));
}

Form6::Form6(QWidget* parent) : QWidget(parent) {
    setObjectName("Form6");
    setAttribute(Qt::WA_DeleteOnClose);
    resize(twips(7200), twips(6000));
    // Its pictures and style sheets are read as regular files only.
    WebBrowser1 = new PageBrowser(this);
    WebBrowser1->setObjectName("WebBrowser1");
    WebBrowser1->setOpenLinks(false);
    connect(WebBrowser1, &QTextBrowser::anchorClicked, this, &Form6::WebBrowser1_LinkClicked);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(WebBrowser1);
    Form_Load();
}

void Form6::Form_Load() {
    setWindowTitle(toUi(aboutTitle(VersionMajor, VersionMinor, VersionRevision)));
    navigate(resolvePath(state().korvexDir, "korvex.wfd/templates/about_startup.htm"));
}

void Form6::navigate(const std::string& target) {
    if (target.empty() || target[0] != '/') {
        platform().shellOpen(target);
        return;
    }
    // The page's address is made from the path's bytes: a game directory with "#", "?" or a
    // name that is not UTF-8 still names its page.
    if (fileExists(target)) {
        const QUrl url = QUrl::fromEncoded(QByteArray::fromStdString(localFileUrl(target)), QUrl::StrictMode);
        const QSizeF size = holdPageLayout(WebBrowser1);
        WebBrowser1->setSource(url);
        layOutPage(WebBrowser1, size);
    } else {
        WebBrowser1->setPlainText(toUi("The page cannot be found:\n" + target));
    }
}

void Form6::WebBrowser1_LinkClicked(const QUrl& url) {
    if (url.isRelative() || url.isLocalFile()) {
        const QUrl resolved = WebBrowser1->source().resolved(url);
        if (resolved.isLocalFile()) {
            if (resolved.hasFragment() && resolved.adjusted(QUrl::RemoveFragment) == WebBrowser1->source()) {
                WebBrowser1->scrollToAnchor(resolved.fragment());
                return;
            }
            navigate(localPathOf(resolved));
            return;
        }
    }
    platform().shellOpen(url.toString().toStdString());
}

} // namespace kx::launcher
