#pragma once
// The dialog that picks a saved rotation list (a cycle list file) and loads it into the
// configuration window's rotation list. Not modal; it goes with the window that opened it.

#include <QDialog>
#include <QPointer>

class QPushButton;

namespace kx {
class FileListBox;
}

namespace kx::arenawarden {

class frmCfgServ;

class frmLoadListDialog : public QDialog {
    Q_OBJECT
public:
    explicit frmLoadListDialog(frmCfgServ* owner);

    FileListBox* File1; // *.nfo in korvex.wfd/config/cyclelists, hidden files too
    QPushButton* OKButton;
    QPushButton* CancelButton;

    void Form_Load();
    void File1_Click();
    void File1_DblClick();
    void OKButton_Click();
    void CancelButton_Click();

    void reject() override; // Esc and the close box: as cancel

private:
    void unload();
    QPointer<frmCfgServ> owner_;
    bool unloaded_ = false;
};

} // namespace kx::arenawarden
