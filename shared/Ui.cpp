#include "shared/Ui.h"

#include "core/Files.h"
#include "core/RunError.h"
#include "core/Text.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTextEdit>
#include <QToolButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

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

// text cut to at most n characters, never inside a surrogate pair.
QString cutText(const QString& text, qsizetype n) {
    if (text.size() <= n) return text;
    if (text.at(n - 1).isHighSurrogate()) --n;
    return text.left(n) + QChar(0x2026);
}

QVariant bytesData(const std::string& bytes) { return QByteArray(bytes.data(), qsizetype(bytes.size())); }

// What an entry shows of its bytes: cut as a shown label is, since a list or a combo box lays
// out every entry whole to size itself (a 10 MB entry held the window for seconds).
QString entryShown(const std::string& bytes) { return cutText(toUi(bytes), kShownLabel); }

// The kept bytes while the entry still shows them, else the shown text as Windows-1252.
std::string entryBytes(const QVariant& kept, const QString& shown) {
    if (kept.isValid()) {
        const QByteArray b = kept.toByteArray();
        std::string bytes(b.constData(), size_t(b.size()));
        if (entryShown(bytes) == shown) return bytes;
    }
    return fromUi(shown);
}
} // namespace

void addListText(QListWidget* list, const std::string& bytes) {
    auto* item = new QListWidgetItem(entryShown(bytes));
    item->setData(kBytesRole, bytesData(bytes));
    list->addItem(item);
}

void addComboText(QComboBox* combo, const std::string& bytes) {
    const QString shown = entryShown(bytes);
    // A cut entry is still too wide to size the box by: the box then takes its width from its
    // layout, as a shown label does.
    if (shown.size() > kShownLabel && combo->sizeAdjustPolicy() != QComboBox::AdjustToMinimumContentsLengthWithIcon) {
        combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        combo->setMinimumContentsLength(std::max(combo->minimumContentsLength(), 12));
    }
    combo->addItem(shown);
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

namespace {
const char* const kFullTextProperty = "kxShownLabelText";

void elideShownLabel(QLabel* label) {
    const QString full = label->property(kFullTextProperty).toString();
    // Until the label is laid out its width means nothing: it holds the cut text meanwhile.
    if (!label->isVisible()) {
        label->setText(full);
        return;
    }
    label->setText(label->fontMetrics().elidedText(full, Qt::ElideRight, label->contentsRect().width()));
}

// Elides a shown label again whenever its width or font changes, or it is shown.
class ShownLabelWatch : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* e) override {
        switch (e->type()) {
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::FontChange:
            elideShownLabel(static_cast<QLabel*>(watched));
            break;
        default:
            break;
        }
        return false;
    }
};

// A tooltip as rich text made from escaped plain text, in lines of bounded length, so it neither
// turns data into markup nor grows wider than the screen.
QString tooltipFor(const QString& text) {
    constexpr qsizetype kLine = 80;
    QString out = QStringLiteral("<qt>");
    for (qsizetype i = 0; i < text.size();) {
        qsizetype n = std::min(kLine, text.size() - i);
        if (i + n < text.size() && text.at(i + n - 1).isHighSurrogate()) --n;
        if (i) out += QStringLiteral("<br>");
        out += text.mid(i, n).toHtmlEscaped();
        i += n;
    }
    return out + QStringLiteral("</qt>");
}
} // namespace

QString menuText(const std::string& caption) {
    // Cut as a shown label is: a menu or a frame is as wide as its longest caption.
    return cutText(toUi(caption), kShownLabel).replace('&', QStringLiteral("&&")).replace('\t', ' ');
}

void setShownLabel(QLabel* label, const QString& text) {
    QString line = cutText(text, kShownLabel);
    for (QChar& c : line)
        if (c == u'\n' || c == u'\r' || c == u'\t') c = u' ';
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(false);
    QSizePolicy policy = label->sizePolicy();
    policy.setHorizontalPolicy(QSizePolicy::Ignored);
    label->setSizePolicy(policy);
    label->setProperty(kFullTextProperty, line);
    label->setToolTip(line.isEmpty() ? QString() : tooltipFor(line));
    if (!label->findChild<ShownLabelWatch*>(QString(), Qt::FindDirectChildrenOnly))
        label->installEventFilter(new ShownLabelWatch(label));
    elideShownLabel(label);
}

void makeReadingText(QPlainTextEdit* box) {
    box->setReadOnly(true);
    box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    box->setWordWrapMode(QTextOption::WordWrap);
    box->setTabChangesFocus(true);
    box->setTextInteractionFlags(box->textInteractionFlags() | Qt::TextSelectableByMouse |
                                 Qt::TextSelectableByKeyboard);
}

void makeReadingText(QTextEdit* box) {
    box->setReadOnly(true);
    box->setLineWrapMode(QTextEdit::WidgetWidth);
    box->setWordWrapMode(QTextOption::WordWrap);
    box->setTabChangesFocus(true);
    // A page viewer keeps its link keys; selection by keyboard comes on top.
    box->setTextInteractionFlags(box->textInteractionFlags() | Qt::TextSelectableByMouse |
                                 Qt::TextSelectableByKeyboard);
}

namespace {
bool usable(const QAbstractButton* b) { return b && b->isEnabled() && b->isVisible(); }

// Sees the keys that no control of the window took: a control that acts on Return or Escape
// itself accepts the key, so it never arrives here.
class DialogKeys : public QObject {
public:
    DialogKeys(QWidget* window, QAbstractButton* ok, QAbstractButton* cancel)
        : QObject(window), window_(window), ok_(ok), cancel_(cancel) {}

    bool eventFilter(QObject* watched, QEvent* e) override {
        if (watched != window_ || e->type() != QEvent::KeyPress) return false;
        auto* key = static_cast<QKeyEvent*>(e);
        const auto mods = key->modifiers() & ~Qt::KeypadModifier;
        if (mods != Qt::NoModifier) return false;
        if (key->key() == Qt::Key_Escape) {
            if (!usable(cancel_)) return false;
            cancel_->click();
            return true;
        }
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
        QWidget* focus = QApplication::focusWidget();
        if (focus && window_->isAncestorOf(focus)) {
            // A button with focus presses itself, as in any dialog.
            if (qobject_cast<QPushButton*>(focus) || qobject_cast<QToolButton*>(focus)) {
                auto* b = static_cast<QAbstractButton*>(focus);
                if (b->isEnabled()) b->click();
                return true;
            }
        }
        if (!usable(ok_)) return false;
        ok_->click();
        return true;
    }

private:
    QWidget* window_;
    QPointer<QAbstractButton> ok_, cancel_;
};
} // namespace

void setDialogKeys(QWidget* window, QAbstractButton* okOrNull, QAbstractButton* cancelOrClose) {
    if (auto* ok = qobject_cast<QPushButton*>(okOrNull)) ok->setDefault(true);
    window->installEventFilter(new DialogKeys(window, okOrNull, cancelOrClose));
}

QIcon suiteIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/korvex/suite-icon-%1.png").arg(size), QSize(size, size));
    return icon;
}

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
