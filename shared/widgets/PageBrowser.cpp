#include "shared/widgets/PageBrowser.h"

#include "core/Files.h"
#include "core/RunError.h"

#include <QByteArray>
#include <QUrl>

namespace kx {

std::string localPathOf(const QUrl& url) {
    return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString();
}

QVariant PageBrowser::loadResource(int type, const QUrl& name) {
    const QUrl url = name.isRelative() ? source().resolved(name) : name;
    // Other schemes (data:, web addresses) are the document's own affair; it opens no file for them.
    if (!url.isLocalFile()) return url.isRelative() ? QVariant(QByteArray("")) : QTextBrowser::loadResource(type, url);
    try {
        return QByteArray::fromStdString(readFile(resolvePath(localPathOf(url))));
    } catch (const RunError&) {
        // Empty, not null: a null answer would make the document try the file with QFile itself.
        return QVariant(QByteArray(""));
    }
}

} // namespace kx
