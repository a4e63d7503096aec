#pragma once
// The about box "about...".

#include <QWidget>

class QLabel;
class QPushButton;

namespace kx::quillroom {

class frmAbout : public QWidget {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* owner);

    QLabel* Label1 = nullptr;   // "Korvex DudoziRezud"
    QLabel* Picture1 = nullptr;
    QPushButton* Command1 = nullptr; // "&Ok"

    void Command1_Click();
};

} // namespace kx::quillroom
