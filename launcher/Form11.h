#pragma once
// The splash window. Its timer's first tick runs the start-up loader: read korvex.cfg, fill
// the plug-in and web-site menus, start the tray module, optional screenshot backup and
// autoexec script, the skins, then the main window. Any run error on the way is taken for a
// missing configuration: the set-up module is started and the program ends.

#include "core/RunError.h"

#include <QWidget>

#include <string>

class QLabel;
class QTimer;

namespace kx::launcher {

class Form11 : public QWidget {
    Q_OBJECT
public:
    explicit Form11(QWidget* parent = nullptr);

    QLabel* Picture1;
    QLabel* Label1;     // "Loading and configuring..."
    QLabel* Label2;     // "registered to"
    QLabel* ReggedUser;
    QLabel* Label3;     // the status
    QTimer* Timer1;

    // Sets the status and repaints it at once (the pauses that follow block the window).
    void setStatus(const std::string& text);

    void Timer1_Timer();

private:
    void loadConfiguration();
    void setGlobals();
    void errorPath(const RunError& e);

    bool loaderStarted_ = false;
};

// "C:\" and the like: a drive letter, ":" and a separator.
bool isDriveRoot(const std::string& dir);

} // namespace kx::launcher
