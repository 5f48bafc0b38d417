#include "gui/main/search_commands.h"

#include "core/app/ini_file.h"
#include "core/app/program_paths.h"
#include "core/archive/archive_options.h"
#include "core/archive/file_info.h"
#include "core/archive/file_panel.h"
#include "gui/app/dialogs.h"
#include "gui/app/lang.h"
#include "gui/app/text_bytes.h"
#include "gui/main/find_dialog.h"
#include "gui/main/main_form.h"
#include "gui/main/main_frame.h"
#include "gui/main/message_view.h"

#include <QAction>
#include <QApplication>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

namespace varnot {

TSearchCommands::TSearchCommands(TMainform& form) : form_(form) {
    const FindSettings stored = ReadFindSettings(IniFile(SettingsFile()));
    text_ = stored.pattern;
    flags_ = stored.flags;
    form_.SetLastSearch(SearchKeysOf(text_), text_);

    const TMainFrame& f = form_.Frame();
    connect(f.FindButton, &QToolButton::clicked, this, &TSearchCommands::FindButtonClick);
    connect(f.FindItem, &QAction::triggered, this, &TSearchCommands::FindButtonClick);
    connect(f.FindNextButton, &QToolButton::clicked, this, &TSearchCommands::FindNext);
    connect(f.FindNextItem, &QAction::triggered, this, &TSearchCommands::FindNext);
    connect(f.SearchTimer, &QTimer::timeout, this, &TSearchCommands::SearchTimerTimer);
    form_.CheckButtons();
}

TSearchCommands::~TSearchCommands() {
    // The window is going: only the cursor needs putting back.
    if (!walk_) return;
    form_.Frame().SearchTimer->stop();
    QApplication::restoreOverrideCursor();
}

void TSearchCommands::StopSearch() {
    if (!walk_) return;
    QApplication::restoreOverrideCursor();
    form_.Frame().SearchTimer->stop();
    walk_.reset();
    form_.CheckButtons();
}

void TSearchCommands::FindButtonClick() {
    form_.RecordAction();
    // Place and history as stored; the search itself as in effect.
    FindSettings values = ReadFindSettings(IniFile(SettingsFile()));
    values.pattern = text_;
    values.flags = flags_;
    const std::optional<FindSettings> chosen = RunFindDialog(&form_, values);
    if (!chosen) {
        StopSearch();
        return;
    }
    text_ = chosen->pattern;
    flags_ = chosen->flags;
    form_.SetLastSearch(SearchKeysOf(text_), text_);
    // Find next names the new text.
    form_.CheckButtons();
    IniFile ini(SettingsFile());
    WriteFindSettings(ini, *chosen);
    // A settings file that cannot be written keeps the search for this run.
    ini.Save();
    FindNext();
}

void TSearchCommands::FindNext() {
    form_.RecordAction();
    if (text_.empty() || SearchInView()) return;
    if (form_.ShownCount() == 0) return;
    StopSearch();
    search_.emplace(text_, flags_, ArchiveOptionsOf(form_.SettingsInEffect()));
    walk_.emplace(form_.CurrentRow(), form_.ShownCount(), flags_.direction);
    form_.Frame().SearchTimer->start();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    form_.CheckButtons();
}

bool TSearchCommands::SearchInView() {
    TMessageView& view = *form_.Frame().View;
    const std::string& text = view.RichText();
    if (text.empty()) return false;
    // The rich view is searched even while the plain one is shown.
    const QTextCursor cursor = view.ViewMemo->textCursor();
    const auto start = static_cast<std::size_t>(cursor.selectionStart());
    const auto length = static_cast<std::size_t>(cursor.selectionEnd() - cursor.selectionStart());
    const std::optional<std::size_t> hit = SearchInText(text, start, length, text_, flags_);
    if (!hit) return false;
    view.SelectInRichView(*hit, text_.size());
    return true;
}

std::string TSearchCommands::PathOfRow(int row) const {
    if (row >= form_.ShownCount()) return {};
    const TFileInfo* record = form_.Panel().RecordAtRow(row);
    if (record == nullptr) return {};
    const std::string path = DiskPath(form_.SettingsInEffect().archiveRoot, *record);
    // A message that is not text is never shown, so a hit in it could not be either.
    return IsTextMessage(path) ? path : std::string();
}

void TSearchCommands::SearchTimerTimer() {
    if (!walk_ || !search_) return;
    const SearchWalk::Outcome outcome = walk_->Tick(
        *search_, [this](int row) { return PathOfRow(row); }, buffer_);
    switch (outcome) {
    case SearchWalk::Outcome::Continue:
        form_.ShowPosition(walk_->Row());
        return;
    case SearchWalk::Outcome::Hit: {
        const int row = walk_->Row();
        const std::size_t offset = walk_->Offset();
        StopSearch();
        form_.MoveToRow(row);
        form_.Frame().View->SelectInRichView(offset, text_.size());
        return;
    }
    case SearchWalk::Outcome::NotFound:
        // The walk is over before the box opens, so it is shown once.
        StopSearch();
        Dialogs().MessageBox(&form_, TMsgKind::Information,
                             FromCp1251(text_) + Lang(" не найден", " not found"),
                             TMsgButtons::Yes);
        return;
    }
}

} // namespace varnot
