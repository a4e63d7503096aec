#pragma once
// "joiner dns lookup": the result of one host-name look-up.

#include <QWidget>

#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

namespace kx::nameprobe {

class frmMain : public QWidget {
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);

    void Command1_Click(); // "Close"
    // Label1: "Query for DNS : '<host>'...".
    void showQuery(const std::string& host);
    bool unloaded() const { return unloaded_; }

    QLabel* Label1;     // "Query for DNS : '<host>'..."
    QLabel* Label2;     // "Reported Ip:"
    QLineEdit* Text1;   // the dotted address found, or empty
    QPushButton* Command1;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    bool unloaded_ = false;
};

} // namespace kx::nameprobe
