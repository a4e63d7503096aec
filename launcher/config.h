#pragma once
// The hidden window "configform": it holds the eight korvex.cfg values that the main program
// keeps, as the captions of its labels. Each label starts with the text the loader uses when
// the file has no line for its key. It is never shown.

#include <QWidget>

#include <string>

class QLabel;

namespace kx::launcher {

class config : public QWidget {
    Q_OBJECT
public:
    explicit config(QWidget* parent = nullptr);

    QLabel* lblPlayerName;
    QLabel* lblDefaultMap;
    QLabel* lblDefaultGameType;
    QLabel* lblDefaultTeam;
    QLabel* lblDefaultGameName;
    QLabel* lblDefaultMaxPlayers;
    QLabel* lblSnapShotDir;
    QLabel* lblGameSpyDir;

    // The label of a korvex.cfg key, nullptr for the keys kept elsewhere.
    QLabel* labelFor(const std::string& key) const;
};

// A label's caption as the 8-bit text it was given.
std::string caption(const QLabel* label);
void setCaption(QLabel* label, const std::string& text);

} // namespace kx::launcher
