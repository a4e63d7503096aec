#pragma once
// The log cleaner's progress window: one pass over korvex.wfd/logs/*.log without user input,
// deleting every log whose size in KB, rounded, exceeds 60; then a short shrink and the end.

#include <QWidget>

#include <string>

class QLabel;

namespace kx::tidyup {

// Bytes in KB, rounded half to even (61,952 bytes = 60.5 KB gives 60, 61,953 gives 61).
// 64 bits: a log of many megabytes is measured, not wrapped.
long long logSizeKB(long long bytes);
inline constexpr long long LimitKB = 60;

class frmOutPut : public QWidget {
    Q_OBJECT
public:
    explicit frmOutPut(QWidget* parent = nullptr);

    QLabel* Label2;

    // The whole life of the module: place and show the window, check the command line, scan,
    // finish. Ends the program through the platform.
    void run(const std::string& commandLine);

    void ScanLogs();
    void CheckLogFile(const std::string& name);
    void FinishCleaning();

    // Heights the shrinking asked for, in twips (for tests: it ends however the window answers).
    int shrinkSteps() const { return shrinkSteps_; }

private:
    void setStatus(const std::string& text);

    std::string logsDir_;
    std::string status_;
    int shrinkSteps_ = 0;
};

} // namespace kx::tidyup
