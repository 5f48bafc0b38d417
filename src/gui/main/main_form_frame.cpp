// Which command of the frame does what: the window's wiring of the menus,
// the tool bar, the status panel, the view and the timer. Commands that the
// features beside the window serve (copy, move, delete, export, print,
// find, filters, the editor) are theirs to connect.
#include "gui/main/main_form.h"

#include "gui/main/list_controller.h"
#include "gui/main/main_frame.h"
#include "gui/main/message_list_view.h"
#include "gui/main/message_view.h"

#include <QAction>
#include <QComboBox>
#include <QDesktopServices>
#include <QLabel>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

namespace varnot {

void TMainform::ConnectFrame() {
    const TMainFrame& f = *frame_;
    connect(f.Timer, &QTimer::timeout, this, &TMainform::TimerTimer);

    // View menu and the splitter's pop-up menus.
    for (const auto* items : {&f.RatioItems, &f.PopupRatioItems})
        for (QAction* item : *items)
            connect(item, &QAction::triggered, this,
                    [this, item] { ApplyRatio(item->data().toInt()); });
    connect(f.ShowFileNameItem, &QAction::triggered, this, &TMainform::ShowFileNameItemClick);
    connect(f.ZoomOutItem, &QAction::triggered, this, &TMainform::ZoomOutViewWindow);

    // Operations menu.
    connect(f.WordWrapItem, &QAction::triggered, this, &TMainform::ToggleWordWrap);
    connect(f.SelectUnselectItem, &QAction::triggered, this, [this] { list_->ToggleAndAdvance(); });
    connect(f.InvertItem, &QAction::triggered, this, [this] { list_->InvertSelection(); });
    connect(f.SelectallItem, &QAction::triggered, this, [this] { list_->SelectAll(); });
    connect(f.UnSelectAllItem, &QAction::triggered, this, [this] { list_->UnselectAll(); });
    connect(f.SelectItem, &QAction::triggered, this, [this] { list_->SelectFilesDialog(true); });
    connect(f.UnselectItem, &QAction::triggered, this, [this] { list_->SelectFilesDialog(false); });
    connect(f.RereadItem, &QAction::triggered, this, &TMainform::RereadButtonClick);

    // Setup menu and the options dialog's other ways in.
    connect(f.OptionsItem, &QAction::triggered, this, [this] { ShowOptions(TOptionsMode::Fonts); });
    connect(f.OptionsButton, &QToolButton::clicked, this,
            [this] { ShowOptions(TOptionsMode::Fonts); });
    connect(f.NotePadSetupItem, &QAction::triggered, this,
            [this] { ShowOptions(TOptionsMode::NotePadExport); });
    connect(f.WordSetupItem, &QAction::triggered, this,
            [this] { ShowOptions(TOptionsMode::WordExport); });
    connect(f.LanguageItem, &QAction::triggered, this, &TMainform::LanguageItemClick);
    connect(f.RichView_Check, &QAction::triggered, this, &TMainform::RichView_CheckClick);

    // Tool bar.
    connect(f.FilterComboBox, &QComboBox::activated, this, &TMainform::FilterComboBoxChange);
    connect(f.ShineButton, &QToolButton::clicked, this, [this] {
        frame_->FileGrid->setFocus();
        list_->SelectFilesDialog(true);
    });
    connect(f.UnshineButton, &QToolButton::clicked, this, [this] {
        frame_->FileGrid->setFocus();
        list_->SelectFilesDialog(false);
    });
    connect(f.SelectPopupItem, &QAction::triggered, this, [this] { list_->SelectAll(); });
    connect(f.UnselectPopupItem, &QAction::triggered, this, [this] { list_->UnselectAll(); });

    // Status panel; a click on the status line goes to the announced message.
    f.HintLabel->installEventFilter(this);
    connect(f.WrapButton, &QToolButton::clicked, this, &TMainform::ToggleWordWrap);
    connect(f.LastButton, &QToolButton::clicked, this, &TMainform::LastButtonClick);
    connect(f.NextButton, &QToolButton::clicked, this, &TMainform::NextButtonClick);
    connect(f.PrevButton, &QToolButton::clicked, this, &TMainform::PrevButtonClick);
    connect(f.FirstButton, &QToolButton::clicked, this, &TMainform::FirstButtonClick);
    connect(f.RereadButton, &QToolButton::clicked, this, &TMainform::RereadButtonClick);
    connect(f.DateComboBox, &QComboBox::activated, this, &TMainform::DateComboBoxChange);

    // The splitter bar and the view.
    f.RxSplitterHandle->installEventFilter(this);
    ViewMemoFocus(false);
    connect(f.View, &TMessageView::ViewActivity, this, [this] {
        if (scan_) RecordAction();
    });
    connect(f.View, &TMessageView::ViewEnterPressed, this, [this] {
        if (zoomed_)
            ZoomOutViewWindow();
        else
            frame_->FileGrid->setFocus();
    });
    connect(f.View, &TMessageView::ViewDoubleClicked, this, &TMainform::ZoomOutViewWindow);
    connect(f.View, &TMessageView::ViewFocusChanged, this, &TMainform::ViewMemoFocus);
    openWithAssociatedProgram_ = [](const QString& path) {
        // What the program does with the file is not examined.
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    };
}

} // namespace varnot
