#include "config.h"

#include "shared/KorvexConfig.h"
#include "core/Text.h"
#include "shared/Ui.h"

#include <QLabel>
#include <QVBoxLayout>

namespace kx::launcher {

config::config(QWidget* parent) : QWidget(parent) {
    setObjectName("config");
    setWindowTitle("configform");
    auto* layout = new QVBoxLayout(this);
    auto label = [&](const char* name, const char* text) {
        QLabel* l = plainLabel(QString::fromLatin1(text), this);
        l->setObjectName(name);
        layout->addWidget(l);
        return l;
    };
    lblPlayerName = label("lblPlayerName", "PlayerName");
    lblDefaultMap = label("lblDefaultMap", "Default MultiPlayer Map");
    lblDefaultGameType = label("lblDefaultGameType", "Default GameType");
    lblDefaultTeam = label("lblDefaultTeam", "Default Team Assignment");
    lblDefaultGameName = label("lblDefaultGameName", "Default Gamename");
    lblDefaultMaxPlayers = label("lblDefaultMaxPlayers", "Default Maximum Players");
    lblSnapShotDir = label("lblSnapShotDir", "Default ScreenShot Dir");
    lblGameSpyDir = label("lblGameSpyDir", "Default GameSpy Dir");
}

QLabel* config::labelFor(const std::string& key) const {
    if (key == cfgkey::PlayerName) return lblPlayerName;
    if (key == cfgkey::DefaultMap) return lblDefaultMap;
    if (key == cfgkey::GameType) return lblDefaultGameType;
    if (key == cfgkey::Team) return lblDefaultTeam;
    if (key == cfgkey::GameName) return lblDefaultGameName;
    if (key == cfgkey::MaxPlayers) return lblDefaultMaxPlayers;
    if (key == cfgkey::ShotDir) return lblSnapShotDir;
    if (key == cfgkey::GameSpy) return lblGameSpyDir;
    return nullptr;
}

// A caption set from a file keeps its bytes: a UTF-8 folder name shown as such would come back
// from the label as Windows-1252, a path that does not exist.
std::string caption(const QLabel* label) {
    const QVariant bytes = label->property("captionBytes");
    if (bytes.isValid() && label->text() == toUi(bytes.toByteArray().toStdString()))
        return bytes.toByteArray().toStdString();
    return fromUi(label->text());
}

void setCaption(QLabel* label, const std::string& text) {
    label->setText(toUi(text));
    label->setProperty("captionBytes", QByteArray::fromStdString(text));
}

} // namespace kx::launcher
