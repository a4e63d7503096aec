#pragma once
// The browser control of the windows that show the suite's own local pages (about box, help).
// QTextBrowser and its document read a page's images and style sheets themselves with QFile,
// which waits for ever on a pipe in a picture's place; here every local resource is read with
// the suite's regular-file reader, and anything else (missing, a folder, a pipe, a device)
// gives nothing, so the page shows without it.

#include <QTextBrowser>

#include <string>

namespace kx {

// The path a local page's address names, byte for byte: the address is made by localFileUrl
// from the path's bytes, and a name that is not UTF-8 would not survive QUrl's decoding.
std::string localPathOf(const QUrl& url);

class PageBrowser : public QTextBrowser {
public:
    explicit PageBrowser(QWidget* parent = nullptr) : QTextBrowser(parent) {}

    QVariant loadResource(int type, const QUrl& name) override;
};

} // namespace kx
