#pragma once

// An editor host on a temporary program folder, with the dialogs answered by
// the test and a PDF printer.
#include "core/app/program_paths.h"
#include "gui/app/lang.h"
#include "gui/app/options_dlg.h"
#include "gui/editor/editor_host.h"
#include "gui/editor/find_replace_dialog.h"
#include "gui/support/scripted_dialogs.h"
#include "support/temp_dir.h"

#include <QAction>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace testing_support {

class EditorFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        varnot::SetProgramPaths({dir.path(), dir / "varnot.INI"});
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(dir / "out.pdf"));
        links.printer = [this] { return &printer; };
        links.readProgram = [this](varnot::TExportProgram program) {
            return program == varnot::TExportProgram::Word ? wordExe : notePadExe;
        };
        links.keepProgram = [this](varnot::TExportProgram program, const std::string& path) {
            (program == varnot::TExportProgram::Word ? wordExe : notePadExe) = path;
        };
        links.showMainWindow = [this] { ++mainWindowShown; };
        links.showOptions = [this](varnot::TOptionsMode mode) { optionsModes.push_back(mode); };
        host = std::make_unique<varnot::TEditorHost>(links);
    }
    void TearDown() override {
        host.reset();
        varnot::English = true;
    }

    // The editor, shown; created when none is open.
    varnot::TEditorForm& Editor() {
        if (!host->EditorOpen()) host->ShowEditor();
        return *host->EditorForm();
    }
    QPlainTextEdit& Memo() { return *Editor().findChild<QPlainTextEdit*>("Memo"); }
    template <typename T = QAction> T& Control(const char* name) {
        return *Editor().findChild<T*>(name);
    }
    // A control of the find or the replace dialog.
    template <typename T> T& InDialog(const char* dialog, const char* name) {
        return *Editor().findChild<varnot::TFindReplaceDialog*>(dialog)->findChild<T*>(name);
    }
    QString Selected() { return Memo().textCursor().selectedText(); }

    TempDir dir;
    ScriptedDialogs dialogs;
    QPrinter printer{QPrinter::HighResolution};
    std::string notePadExe;
    std::string wordExe;
    int mainWindowShown = 0;
    std::vector<varnot::TOptionsMode> optionsModes;
    varnot::TEditorLinks links;
    std::unique_ptr<varnot::TEditorHost> host;
};

} // namespace testing_support
