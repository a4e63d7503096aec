#pragma once
// Control behaviours the programs rely on where Qt differs (indexes, check values, plain text).

#include <QFont>
#include <QIcon>
#include <QString>

#include <string>

class QListWidget;
class QComboBox;
class QCheckBox;
class QLabel;
class QWidget;
class QPixmap;
class QPlainTextEdit;
class QTextEdit;
class QAbstractButton;

namespace kx {

// -1 clears the selection; outside the list raises run error 380. Qt would clamp silently.
// Callers run the item's click handler themselves after selecting from code.
void selectListIndex(QListWidget* list, int index);
void selectComboIndex(QComboBox* combo, int index);
// Adds an entry shown by toUi that keeps its bytes: listText/comboText give them back as they
// were, also where the text is shown as UTF-8 (a file name), which fromUi would not restore.
// An entry longer than kShownLabel characters shows only that many; it keeps its bytes whole.
void addListText(QListWidget* list, const std::string& bytes);
void addComboText(QComboBox* combo, const std::string& bytes);
// The entry at index, "" outside the list.
std::string listText(const QListWidget* list, int index);
std::string comboText(const QComboBox* combo, int index);
int listIndex(const QListWidget* list); // -1 when nothing is selected

// 0 unchecked, 1 checked, 2 grey.
int checkValue(const QCheckBox* box);
void setCheckValue(QCheckBox* box, int value);

// Gives a control the name its window's description gives it, so tests can find it.
template <typename T>
T* named(T* w, const char* name) {
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

// A label that shows its text as plain text, never rich text guessed from data.
QLabel* plainLabel(const QString& text = QString(), QWidget* parent = nullptr);

// Data (a file name, a descriptor) shown as a menu caption: "&" is a character, not a mnemonic,
// a tab is a blank, not the start of a shortcut column, and the text is cut to kShownLabel
// characters (declared below), so that no value sets the width of a menu.
QString menuText(const std::string& caption);

// A single-line label showing a value whose size never depends on the value: line breaks and
// tabs become blanks, the text is cut to kShownLabel characters before Qt lays it out, then
// elided to the label's width (again on every resize); the tooltip holds the cut text. The
// label's width comes from its layout, never from the text, so a 10 MB value cannot freeze
// or stretch the window.
inline constexpr int kShownLabel = 400;
void setShownLabel(QLabel* label, const QString& text);

// Texts shown for reading (descriptions, notes, logs, help): read-only, wrapped at word
// boundaries to the box's width, Tab passes focus on, still selectable with the keyboard.
void makeReadingText(QPlainTextEdit* box);
void makeReadingText(QTextEdit* box);

// A window that acts as a dialog: Escape clicks cancelOrClose. Where there is an OK, Return and
// Enter click it unless focus is on a control that takes Return itself: a multi-line text box,
// a folder list (it opens the folder), a label command, a combo box's open list, or a push
// button, which presses itself. Buttons that are disabled or hidden are not clicked.
void setDialogKeys(QWidget* window, QAbstractButton* okOrNull, QAbstractButton* cancelOrClose);

// The suite's icon, built into the shared library; every program sets it for its windows.
QIcon suiteIcon();

// Multi-line boxes. A box lays out each line as one block, and the layout of one very long
// line takes time that grows with the square of its length (a 1 MB line without blanks takes
// a minute, and again on every resize); so a line longer than kShownBlock characters is shown
// as blocks of that many, which the box lays out only when they come into view. Lines of any
// usual length are shown exactly as given. Text breaks its lines at LF.
inline constexpr int kShownBlock = 4096;
void setShownText(QPlainTextEdit* box, const QString& text);
// Adds text at the end, continuing the last line.
void appendShownText(QPlainTextEdit* box, const QString& text);

// A named font with a fallback family ("Verdana" -> sans, "Lucida Console"/"Fixedsys" -> monospace).
QFont namedFont(const QString& family, double pointSize, bool bold = false);

// Window positions and sizes are given in twips: 15 to a pixel.
constexpr int twips(int t) { return t / 15; }

// A picture file through Qt (BMP, PNG, JPEG, GIF, ICO): a missing file raises 53, a folder 75,
// bytes that are no picture 481.
QPixmap loadPicture(const std::string& path);

} // namespace kx
