#include "shared/widgets/PageBrowser.h"

#include "core/Files.h"
#include "core/RunError.h"

#include <QByteArray>
#include <QFile>
#include <QUrl>

namespace kx {

QVariant PageBrowser::loadResource(int type, const QUrl& name) {
    const QUrl url = name.isRelative() ? source().resolved(name) : name;
    // Other schemes (data:, web addresses) are the document's own affair; it opens no file for them.
    if (!url.isLocalFile()) return url.isRelative() ? QVariant(QByteArray("")) : QTextBrowser::loadResource(type, url);
    try {
        return QByteArray::fromStdString(readFile(resolvePath(QFile::encodeName(url.toLocalFile()).toStdString())));
    } catch (const RunError&) {
        // Empty, not null: a null answer would make the document try the file with QFile itself.
        return QVariant(QByteArray(""));
    }
}

} // namespace kx
