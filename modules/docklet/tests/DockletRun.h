#pragma once
// The environment the tests start the built docklet in: its own runtime and settings folders
// (so its single-instance lock is the test's own) and scripted boxes.

#include <QProcessEnvironment>
#include <QString>

namespace kx::docklet::test {

inline QProcessEnvironment dockletEnvironment(const QString& folder, const QString& qpa) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", qpa);
    env.insert("XDG_RUNTIME_DIR", folder);
    env.insert("XDG_CONFIG_HOME", folder);
    env.insert("KORVEX_DIALOGS", folder + "/dialogs.jsonl");
    env.insert("KORVEX_DIALOG_ANSWERS", folder + "/answers");
    return env;
}

} // namespace kx::docklet::test
