#pragma once

#include "core/filters/filter_group_editor.h"

#include <QDialog>
#include <functional>
#include <string>

class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace varnot {

// The modal editor of the filter groups: the group names, the keywords of the
// chosen group (one a line) and its masks. Every edit is kept at once in the
// group list; OK writes the whole section Filters (when the file cannot be
// written an error box says so and the editor stays open with the edits),
// Cancel writes nothing.
// Controls are named as the operator knows them: GroupLabel, FilterListBox,
// NewButton, DelButton, RenameButton, KeyWordLabel, KeyWordMemo,
// KeywordLimitLabel, MaskLabel, MaskEdit, OkButton and CancelButton.
class TFilterForm : public QDialog {
    Q_OBJECT
  public:
    // `selectedGroup`: the group the main window filters with (-1 for All).
    TFilterForm(std::string settingsFile, int selectedGroup, QWidget* parent = nullptr);

    // The same group after insertions and deletions; -1 once it was erased.
    int SelectedGroup() const { return groups_.SelectedGroup(); }
    // OK wrote the groups into the settings file.
    bool Saved() const { return saved_; }

  public slots:
    void accept() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void ApplyCaptions();
    void FillGroupList();
    void ShowGroup(int position);
    void StoreCurrent();
    void SetButtons();
    void FilterListBoxClick(int row);
    void NewButtonClick();
    void DelButtonClick();
    void RenameButtonClick();

    std::string settingsFile_;
    TFilterGroupEditor groups_;
    bool saved_ = false;

    QLabel* GroupLabel;
    QListWidget* FilterListBox;
    QPushButton* NewButton;
    QPushButton* DelButton;
    QPushButton* RenameButton;
    QLabel* KeyWordLabel;
    QPlainTextEdit* KeyWordMemo;
    QLabel* KeywordLimitLabel;
    QLabel* MaskLabel;
    QLineEdit* MaskEdit;
    QPushButton* OkButton;
    QPushButton* CancelButton;
};

// The whole life of one group editor, opened on `parent` over the groups of
// `settingsFile`. `selectedGroup` is the filter box's item index minus 1 (-1
// for All). True when the operator left with OK and the groups were written;
// `selectedGroup` then names the same group in the new list (-1: All). The
// window must then refill its filter box, choose item selectedGroup + 1 when
// the box has that many items, apply the filter, colour the message on view
// again with the new keywords, set Refilter and ask for a pass with argument 1.
bool EditFilterGroups(QWidget* parent, const std::string& settingsFile, int& selectedGroup);

// Tests drive the editor through this instead of a modal loop: the editor is
// shown, the driver called, and an editor left open counts as cancelled.
// Returns the driver installed before; an empty one restores the modal loop.
using TFilterFormDriver = std::function<void(TFilterForm&)>;
TFilterFormDriver SetFilterFormDriver(TFilterFormDriver driver);

} // namespace varnot
