// Scripted-dialog mode for end-to-end runs: no box is shown. Each box and input box is appended
// to $KORVEX_DIALOGS as one JSON line and answered from $KORVEX_DIALOG_ANSWERS.
//
// The answers file is a queue shared by every program of a run: one answer a line (ok, cancel,
// yes, no, text:VALUE; keywords ignore case and surrounding blanks; blank lines are skipped).
// A dialog takes the first line and removes it from the file, so the file always holds exactly
// the answers not yet given and a test may append more at any time. Taking the answer and
// appending the record happen under one flock on the dialog file, so the order of the records
// is the order in which the answers were consumed, across processes.
//
// An answer that does not fit the dialog is mapped to the nearest sensible one and still
// consumed, so the answers stay in step with the dialogs:
//   OK-only box: every answer is OK.
//   OK/Cancel:   yes counts as ok, no as cancel.
//   Yes/No:      ok counts as yes, cancel as no.
//   input box:   ok/yes accept the default text, cancel/no give "".
//   a text answer to a box, or an unknown line: as if no answer were left.
// No answer left: OK (No for a Yes/No box); "" for an input box.
// VALUE is taken as UTF-8 (like the records) and kept in Windows-1252; a VALUE that is not
// valid UTF-8 is kept byte for byte.

#include "platform/RealParts.h"

#include "core/Files.h"
#include "core/RunError.h"
#include "core/Text.h"

#include <QString>
#include <QStringDecoder>

#include <cerrno>
#include <cstdlib>
#include <string>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kx::real {

namespace {

enum class Kind { None, Ok, Cancel, Yes, No, Text, Unknown };

struct Answer {
    Kind kind = Kind::None;
    std::string text; // Windows-1252, for Kind::Text
};

std::string env(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}

std::string trimBlanks(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
    return s.substr(b, e - b);
}

std::string asciiLower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return s;
}

std::string valueFromAnswerFile(const std::string& raw) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString decoded = utf8(QByteArray::fromStdString(raw));
    if (utf8.hasError()) return raw;
    return fromUi(decoded);
}

Answer parseAnswer(const std::string& line) {
    Answer a;
    const std::string t = trimBlanks(line);
    const std::string low = asciiLower(t);
    if (low.rfind("text:", 0) == 0) {
        // The value is everything after the first colon of the line, blanks included.
        const size_t colon = line.find(':');
        a.kind = Kind::Text;
        a.text = valueFromAnswerFile(line.substr(colon + 1));
    } else if (low == "ok") {
        a.kind = Kind::Ok;
    } else if (low == "cancel") {
        a.kind = Kind::Cancel;
    } else if (low == "yes") {
        a.kind = Kind::Yes;
    } else if (low == "no") {
        a.kind = Kind::No;
    } else {
        a.kind = Kind::Unknown;
    }
    return a;
}

// Takes the first answer out of the answers file (the caller holds the lock).
Answer takeAnswer() {
    const std::string path = env("KORVEX_DIALOG_ANSWERS");
    if (path.empty() || !fileExists(path)) return {};
    const std::string bytes = readFile(path);
    size_t pos = 0;
    while (pos < bytes.size()) {
        size_t end = bytes.find_first_of("\r\n", pos);
        if (end == std::string::npos) end = bytes.size();
        const std::string line = bytes.substr(pos, end - pos);
        size_t next = end;
        if (next < bytes.size()) next += (bytes[next] == '\r' && next + 1 < bytes.size() && bytes[next + 1] == '\n') ? 2 : 1;
        pos = next;
        if (trimBlanks(line).empty()) continue;
        writeFileAtomic(path, bytes.substr(pos));
        return parseAnswer(line);
    }
    if (!bytes.empty()) writeFileAtomic(path, ""); // only blank lines were left
    return {};
}

// Holds the lock on the dialog file while an answer is taken and the record appended.
class DialogLog {
public:
    DialogLog() : path_(env("KORVEX_DIALOGS")) {
        // A pipe in the file's place must not make the program wait: regular files only.
        fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0644);
        if (fd_ < 0) throw RunError::fromErrno(errno, path_);
        struct stat st{};
        if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
            ::close(fd_);
            throw RunError(err::PathFileAccess);
        }
        while (::flock(fd_, LOCK_EX) != 0) {
            if (errno == EINTR) continue;
            const int e = errno;
            ::close(fd_);
            throw RunError::fromErrno(e, path_);
        }
    }
    ~DialogLog() { ::close(fd_); } // also releases the lock
    DialogLog(const DialogLog&) = delete;
    DialogLog& operator=(const DialogLog&) = delete;

    void append(const std::string& line) {
        const std::string all = line + "\n";
        size_t done = 0;
        while (done < all.size()) {
            const ssize_t n = ::write(fd_, all.data() + done, all.size() - done);
            if (n < 0) {
                if (errno == EINTR) continue;
                throw RunError::fromErrno(errno, path_);
            }
            done += size_t(n);
        }
    }

private:
    std::string path_;
    int fd_ = -1;
};

std::string record(const std::string& program, const char* kind, const std::string& text, int style,
                   const std::string& title, const std::string& answerJson) {
    return "{\"program\":" + jsonString(program) + ",\"kind\":\"" + kind + "\",\"text\":" + jsonString(text) +
           ",\"style\":" + std::to_string(style) + ",\"title\":" + jsonString(title) + ",\"answer\":" + answerJson + "}";
}

const char* buttonWord(int button) {
    switch (button) {
    case box::Cancel: return "cancel";
    case box::Yes: return "yes";
    case box::No: return "no";
    default: return "ok";
    }
}

int boxButton(int style, const Answer& a) {
    const int buttons = style & 15;
    if (buttons == box::OkCancel) {
        if (a.kind == Kind::Cancel || a.kind == Kind::No) return box::Cancel;
        return box::Ok;
    }
    if (buttons == box::YesNo) {
        if (a.kind == Kind::Yes || a.kind == Kind::Ok) return box::Yes;
        return box::No;
    }
    return box::Ok;
}

} // namespace

bool dialogsScripted() { return !env("KORVEX_DIALOGS").empty(); }

std::string jsonString(const std::string& bytes1252) {
    const QByteArray utf8 = toUi(bytes1252).toUtf8();
    std::string out = "\"";
    for (const char ch : utf8) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        default:
            if (c < 0x20) {
                static const char* hex = "0123456789abcdef";
                out += "\\u00";
                out += hex[c >> 4];
                out += hex[c & 15];
            } else {
                out += ch;
            }
        }
    }
    return out + "\"";
}

int scriptedBox(const std::string& program, const std::string& text, int style, const std::string& title) {
    DialogLog log;
    const Answer a = takeAnswer();
    const int button = boxButton(style, a);
    log.append(record(program, "msgbox", text, style, title, std::string("\"") + buttonWord(button) + "\""));
    return button;
}

std::string scriptedInput(const std::string& program, const std::string& prompt, const std::string& title,
                          const std::string& defaultText) {
    DialogLog log;
    const Answer a = takeAnswer();
    std::string answer;
    if (a.kind == Kind::Text) answer = a.text;
    else if (a.kind == Kind::Ok || a.kind == Kind::Yes) answer = defaultText;
    log.append(record(program, "inputbox", prompt, 0, title, jsonString(answer)));
    return answer;
}

} // namespace kx::real
