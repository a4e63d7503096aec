#include "EditorFixture.h"
#include "frmSaveTo.h"

#include "core/Text.h"

#include <QTextCursor>
#include "ScriptEdit.h"

#include <filesystem>

namespace kx::quillroom {

void EditorTest::SetUp() {
    fake.current = g.path();
    const std::filesystem::path shipped = test::sourceDir() + "/korvex.wfd/templates/scripts";
    std::filesystem::copy(shipped, g.file("korvex.wfd/templates/scripts"), std::filesystem::copy_options::recursive);
}

frmMain& EditorTest::editor() {
    main_ = std::make_unique<frmMain>(g.path());
    return *main_;
}

void EditorTest::writeTemplates(int kind, const std::vector<std::string>& common,
                                const std::vector<std::string>& header, const std::vector<std::string>& body) {
    const ScriptKind& k = scriptKinds()[static_cast<size_t>(kind)];
    const std::string dir = "korvex.wfd/templates/scripts/";
    g.writeLines(dir + "header/scripts.hdr", common);
    g.writeLines(dir + "header/" + k.headerFile, header);
    g.writeLines(dir + k.templateFile, body);
}

std::vector<std::string> EditorTest::boxTexts() const {
    std::vector<std::string> out;
    for (const auto& b : fake.boxes) out.push_back(b.text);
    return out;
}

frmSaveTo* EditorTest::newScriptSaveDialog(int kind) {
    if (!main_->NewScriptFromTemplate(kind)) return nullptr;
    main_->SetEditState(0);
    main_->mnuFileSaveCurrent->trigger();
    return main_->saveTo();
}

void EditorTest::type(const std::string& text) {
    QTextCursor c = main_->ScriptText->textCursor();
    c.movePosition(QTextCursor::End);
    c.insertText(toUi(text));
}

std::string EditorTest::editorBytes() { return joinLines(main_->scriptFileLines()); }

} // namespace kx::quillroom
