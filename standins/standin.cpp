// One small program that stands in for the game (Game.exe) and its tools (data2edit.exe,
// mapmaker.exe, qfvs.exe) in a demo game directory. It is copied there under each of those
// names; every start leaves one JSON line in a journal so that tests can see how the suite
// started it:
//   {"as":"Game.exe","args":["+host","+name","a b"],"cwd":"/path/of/the/current/dir"}
// The journal is $KORVEX_STANDIN_JOURNAL, else standin.log beside the program file.
//
//   +dedicated        a window titled "Quellfort dedicated server on port 24711" that runs
//                     until it is closed (the dedicated-server module closes it by title)
//   +edit LEVEL ...   writes a new data1.bin into the level folder LEVEL, as the game's
//                     editor does when the player saves, and ends; LEVEL is taken as given
//                     when absolute, else against the current directory, else against the
//                     program's own folder (the game directory)
//   anything else     a small window that closes after a few seconds, at once with
//                     KORVEX_STANDIN_QUIT=1

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLockFile>
#include <QSaveFile>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace kx::standin {
namespace {

const char* const kDedicatedTitle = "Quellfort dedicated server on port 24711";
constexpr int kWindowMs = 3000;

// Where this copy lies and what it is called. argv[0] names the copy that was started (also a
// symbolic link); the kernel's link to the running file is the fallback.
QFileInfo selfFile(const char* argv0) {
    if (argv0 && std::string(argv0).find('/') != std::string::npos) return QFileInfo(QString::fromLocal8Bit(argv0));
    return QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget());
}

// Arguments arrive as bytes. Valid UTF-8 is kept; any other byte is taken as Latin-1, so the
// journal is always valid JSON and no byte is lost from view.
std::string jsonString(const std::string& bytes) {
    std::string out = "\"";
    auto hex = [&](unsigned c) {
        char buf[8];
        std::snprintf(buf, sizeof buf, "\\u%04x", c);
        out += buf;
    };
    for (size_t i = 0; i < bytes.size();) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
            ++i;
        } else if (c < 0x20 || c == 0x7f) {
            hex(c);
            ++i;
        } else if (c < 0x80) {
            out += static_cast<char>(c);
            ++i;
        } else {
            // Length of a well-formed UTF-8 sequence starting here, 0 when there is none.
            size_t n = 0;
            if (c >= 0xc2 && c <= 0xdf) n = 2;
            else if (c >= 0xe0 && c <= 0xef) n = 3;
            else if (c >= 0xf0 && c <= 0xf4) n = 4;
            bool ok = n > 0 && i + n <= bytes.size();
            for (size_t k = 1; ok && k < n; ++k) ok = (static_cast<unsigned char>(bytes[i + k]) & 0xc0) == 0x80;
            if (ok && n == 3) {
                const unsigned char d = static_cast<unsigned char>(bytes[i + 1]);
                ok = !(c == 0xe0 && d < 0xa0) && !(c == 0xed && d >= 0xa0); // overlong, surrogate
            }
            if (ok && n == 4) {
                const unsigned char d = static_cast<unsigned char>(bytes[i + 1]);
                ok = !(c == 0xf0 && d < 0x90) && !(c == 0xf4 && d >= 0x90); // overlong, too large
            }
            if (ok) {
                out.append(bytes, i, n);
                i += n;
            } else {
                hex(c);
                ++i;
            }
        }
    }
    return out + "\"";
}

std::string journalLine(const std::string& as, const std::vector<std::string>& args, const std::string& cwd) {
    std::string line = "{\"as\":" + jsonString(as) + ",\"args\":[";
    for (size_t i = 0; i < args.size(); ++i) line += (i ? "," : "") + jsonString(args[i]);
    return line + "],\"cwd\":" + jsonString(cwd) + "}\n";
}

// Several copies may start at once (a cycling server, a test that starts many): the lock keeps
// their lines whole and apart.
bool appendJournal(const QString& path, const std::string& line) {
    QLockFile lock(path + QStringLiteral(".lock"));
    lock.setStaleLockTime(10000);
    if (!lock.tryLock(10000)) return false;
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append)) return false;
    const bool ok = f.write(line.data(), static_cast<qint64>(line.size())) == static_cast<qint64>(line.size());
    f.close();
    return ok;
}

QString levelFolder(const QString& level, const QString& gameDir) {
    const QFileInfo given(level);
    if (given.isAbsolute()) return given.absoluteFilePath();
    if (QFileInfo(QDir::current().filePath(level)).isDir()) return QDir::current().absoluteFilePath(level);
    return QDir(gameDir).absoluteFilePath(level);
}

// What the editor leaves when the player saves: its own objects, nothing of the old file.
int saveFromEditor(const QString& folder) {
    if (!QFileInfo(folder).isDir()) {
        std::fprintf(stderr, "standin: no level folder %s\n", folder.toLocal8Bit().constData());
        return 1;
    }
    QSaveFile f(QDir(folder).filePath(QStringLiteral("data1.bin")));
    const QByteArray data = "QFEDIT objects saved in the editor for " + QFileInfo(folder).fileName().toUtf8() + "\r\n";
    if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size() || !f.commit()) {
        std::fprintf(stderr, "standin: cannot write data1.bin in %s\n", folder.toLocal8Bit().constData());
        return 1;
    }
    return 0;
}

QString argumentText(const std::vector<std::string>& args) {
    QString s;
    for (const auto& a : args) s += (s.isEmpty() ? "" : " ") + QString::fromUtf8(a.data(), static_cast<qsizetype>(a.size()));
    return s;
}

int showWindow(int argc, char** argv, const QString& title, const QString& text, bool closeByItself) {
    QApplication app(argc, argv);
    QWidget w;
    w.setObjectName(QStringLiteral("standinWindow"));
    w.setWindowTitle(title);
    auto* layout = new QVBoxLayout(&w);
    auto* label = new QLabel(text, &w);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    layout->addWidget(label);
    w.resize(420, 120);
    w.show();
    if (closeByItself) QTimer::singleShot(kWindowMs, &w, &QWidget::close);
    return app.exec();
}

} // namespace

int run(int argc, char** argv) {
    const QFileInfo self = selfFile(argc > 0 ? argv[0] : nullptr);
    const std::string as = self.fileName().toStdString();
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);

    const char* env = std::getenv("KORVEX_STANDIN_JOURNAL");
    const QString journal = env && *env ? QString::fromLocal8Bit(env) : self.absolutePath() + QStringLiteral("/standin.log");
    if (!appendJournal(journal, journalLine(as, args, QDir::currentPath().toStdString())))
        std::fprintf(stderr, "standin: cannot append to %s\n", journal.toLocal8Bit().constData());

    bool dedicated = false;
    for (const auto& a : args) dedicated = dedicated || a == "+dedicated";
    if (dedicated) return showWindow(argc, argv, QString::fromLatin1(kDedicatedTitle), argumentText(args), false);

    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] != "+edit") continue;
        if (i + 1 >= args.size()) {
            std::fprintf(stderr, "standin: +edit needs a level folder\n");
            return 1;
        }
        return saveFromEditor(levelFolder(QString::fromLocal8Bit(args[i + 1].c_str()), self.absolutePath()));
    }

    const char* quit = std::getenv("KORVEX_STANDIN_QUIT");
    if (quit && std::string(quit) == "1") return 0;
    return showWindow(argc, argv, self.fileName() + QStringLiteral(" stand-in"), argumentText(args), true);
}

} // namespace kx::standin

int main(int argc, char** argv) { return kx::standin::run(argc, argv); }
