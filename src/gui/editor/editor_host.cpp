#include "gui/editor/editor_host.h"

#include "core/archive/c_list.h"
#include "core/output/output_set.h"

namespace varnot {

TEditorHost::TEditorHost(TEditorLinks links) : links_(std::move(links)) {}

TEditorHost::~TEditorHost() {
    delete form_.data();
}

TEditorForm& TEditorHost::Editor() {
    if (form_) return *form_;
    auto* form = new TEditorForm(links_);
    form_ = form;
    // Closed by its close box: the window goes once its close has returned.
    QObject::connect(form, &TEditorForm::Closed, form, [this, form] {
        if (form_ == form) form_.clear();
        form->deleteLater();
    });
    return *form;
}

void TEditorHost::ShowEditor() {
    TEditorForm& form = Editor();
    form.setWindowState(form.windowState() & ~Qt::WindowMinimized);
    form.show();
    form.raise();
    form.activateWindow();
}

void TEditorHost::AddToEditor(const CList& list, int currentRow, const ArchiveOptions& options,
                              bool wordWrap) {
    TEditorForm& form = Editor();
    if (options.inZev) form.SetWordWrap(wordWrap);
    const OutputSet set = OutputSetOf(list, currentRow);
    const std::vector<std::string> files = OutputFiles(list, set, options.root);
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::int32_t time = list.RecordAt(set.positions[i]).Time;
        if (form.AddOneToEditor(files[i], time, options) != TAddResult::Added) break;
    }
    ShowEditor();
}

void TEditorHost::ApplyEditorFont() {
    if (form_) form_->ApplyEditorFont();
}

void TEditorHost::ApplyEditorFont(const TFontSetting& font) {
    if (form_) form_->ApplyEditorFont(font);
}

void TEditorHost::ApplyCaptions() {
    if (form_) form_->ApplyCaptions();
}

bool TEditorHost::CloseForShutdown(bool askToSave) {
    if (!form_) return true;
    if (askToSave && !form_->MayDiscardText()) return false;
    QPointer<TEditorForm> form = form_;
    form->CloseWithoutQuestion();
    delete form.data();
    return true;
}

} // namespace varnot
