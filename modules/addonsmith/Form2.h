#pragma once
// "Load a PlugIn": the plug-in description files of korvex.wfd/plugins; "&Load" reads the
// chosen one into the wizard, which stays usable while this dialog is open.

#include <QWidget>

#include <string>

class QPushButton;

namespace kx {
class FileListBox;
}

namespace kx::addonsmith {

class Form1;

class Form2 : public QWidget {
    Q_OBJECT
public:
    Form2(Form1& wizard, QWidget* parent = nullptr);

    // Lists <KorvexDir>/korvex.wfd/plugins; a missing folder lists nothing.
    void Form_Load();
    void Command1_Click(); // "&Load": ReadPlugIn
    void Command2_Click(); // "&Cancel"

    // The selected file's name as it is on disk, "" when none is selected.
    std::string selectedFile() const;

    FileListBox* File1;
    QPushButton* Command1;
    QPushButton* Command2;

private:
    Form1& wizard_;
};

} // namespace kx::addonsmith
