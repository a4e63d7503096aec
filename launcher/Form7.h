#pragma once
// The text viewer for the history and read-me texts: read-only, wrapped at words to the window. A file that cannot be read is reported
// through the launcher's ShowError and leaves the viewer empty; the program goes on.

#include <QWidget>

class QPlainTextEdit;

namespace kx::launcher {

class Form7 : public QWidget {
    Q_OBJECT
public:
    explicit Form7(QWidget* parent = nullptr);

    QPlainTextEdit* Text1;

    // Fills Text1 with the viewer's file.
    void Form_Load();
};

} // namespace kx::launcher
