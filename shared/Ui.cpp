#include "shared/Ui.h"

#include "core/Files.h"
#include "core/RunError.h"
#include "core/Text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace kx {

void selectListIndex(QListWidget* list, int index) {
    if (index < -1 || index >= list->count()) throw RunError(err::InvalidPropertyValue);
    if (index == -1) {
        list->setCurrentRow(-1);
        list->clearSelection();
    } else {
        list->setCurrentRow(index);
    }
}

void selectComboIndex(QComboBox* combo, int index) {
    if (index < -1 || index >= combo->count()) throw RunError(err::InvalidPropertyValue);
    combo->setCurrentIndex(index);
}

namespace {
constexpr int kBytesRole = Qt::UserRole + 0x4B58;

QVariant bytesData(const std::string& bytes) { return QByteArray(bytes.data(), qsizetype(bytes.size())); }

// The kept bytes while the entry still shows them, else the shown text as Windows-1252.
std::string entryBytes(const QVariant& kept, const QString& shown) {
    if (kept.isValid()) {
        const QByteArray b = kept.toByteArray();
        std::string bytes(b.constData(), size_t(b.size()));
        if (toUi(bytes) == shown) return bytes;
    }
    return fromUi(shown);
}
} // namespace

void addListText(QListWidget* list, const std::string& bytes) {
    auto* item = new QListWidgetItem(toUi(bytes));
    item->setData(kBytesRole, bytesData(bytes));
    list->addItem(item);
}

void addComboText(QComboBox* combo, const std::string& bytes) {
    combo->addItem(toUi(bytes));
    combo->setItemData(combo->count() - 1, bytesData(bytes), kBytesRole);
}

std::string listText(const QListWidget* list, int index) {
    if (index < 0 || index >= list->count()) return "";
    const auto* item = list->item(index);
    return entryBytes(item->data(kBytesRole), item->text());
}

std::string comboText(const QComboBox* combo, int index) {
    if (index < 0 || index >= combo->count()) return "";
    return entryBytes(combo->itemData(index, kBytesRole), combo->itemText(index));
}

namespace {
// text with a line break after every kShownBlock characters of one line; run is the length of
// the line the text continues. A surrogate pair is never split.
QString blocked(const QString& text, qsizetype run) {
    QString out;
    out.reserve(text.size() + text.size() / kShownBlock + 1);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\n') {
            run = 0;
        } else {
            if (run >= kShownBlock && !c.isLowSurrogate()) {
                out += u'\n';
                run = 0;
            }
            ++run;
        }
        out += c;
    }
    return out;
}
} // namespace

void setShownText(QPlainTextEdit* box, const QString& text) { box->setPlainText(blocked(text, 0)); }

void appendShownText(QPlainTextEdit* box, const QString& text) {
    QTextCursor c(box->document());
    c.movePosition(QTextCursor::End);
    c.insertText(blocked(text, box->document()->lastBlock().length() - 1));
}

int listIndex(const QListWidget* list) {
    const auto* item = list->currentItem();
    if (!item || !item->isSelected()) return -1;
    return list->currentRow();
}

int checkValue(const QCheckBox* box) {
    switch (box->checkState()) {
    case Qt::Unchecked: return 0;
    case Qt::PartiallyChecked: return 2;
    case Qt::Checked: return 1;
    }
    return 0;
}

void setCheckValue(QCheckBox* box, int value) {
    if (value < 0 || value > 2) throw RunError(err::InvalidPropertyValue);
    if (value == 2) box->setTristate(true);
    box->setCheckState(value == 0 ? Qt::Unchecked : value == 1 ? Qt::Checked : Qt::PartiallyChecked);
}

QLabel* plainLabel(const QString& text, QWidget* parent) {
    auto* l = new QLabel(parent);
    l->setTextFormat(Qt::PlainText);
    l->setText(text);
    return l;
}

QString menuText(const std::string& caption) { return toUi(caption).replace('&', QStringLiteral("&&")); }

QFont namedFont(const QString& family, double pointSize, bool bold) {
    QFont f(family);
    const QString fam = family.toLower();
    const bool mono = fam.contains("console") || fam.contains("fixedsys") || fam.contains("courier");
    f.setStyleHint(mono ? QFont::Monospace : QFont::SansSerif);
    if (!QFontDatabase::families().contains(family))
        f.setFamilies({family, mono ? QStringLiteral("monospace") : QStringLiteral("sans-serif")});
    f.setPointSizeF(pointSize);
    f.setBold(bold);
    return f;
}

QPixmap loadPicture(const std::string& path) {
    const std::string bytes = readFile(path);
    QPixmap picture;
    if (!picture.loadFromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<uint>(bytes.size())))
        throw RunError(err::InvalidPicture);
    return picture;
}

} // namespace kx
