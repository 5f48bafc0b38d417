#pragma once

#include "core/main/brief_window.h"

#include <QObject>
#include <QString>
#include <functional>

class QKeyEvent;
class QMouseEvent;
class QWidget;

namespace varnot {

class TFileGrid;
class TFilePanel;
class TMessageListModel;

// The message grid's input and the selection commands: keys, the
// right-button drag that marks messages, toggling, selecting by mask and
// date, and the briefs kept around the visible rows. It works on the grid,
// its model and the message panel; what the window must follow it learns
// through the hooks.
class TListController : public QObject {
    Q_OBJECT
  public:
    struct Hooks {
        std::function<void()> operatorActed; // a key or a mouse press in the grid
        std::function<void()> marksChanged;  // the selection totals changed
        std::function<void()> zoomIn;        // Enter or a double-click in the grid
    };

    // Watches the grid's keys and mouse from now on; dialogs open on `dialogParent`.
    TListController(TFileGrid& grid, TMessageListModel& model, TFilePanel& panel, Hooks hooks,
                    QWidget* dialogParent);

    // The grid's current row; 0 without one.
    int CurrentRow() const;
    // Moves the current row the way the grid does (the message is shown).
    void MoveToRow(int row);

    // Toggles the mark of the current message and moves one row on.
    void ToggleAndAdvance();
    void SelectAll();
    void UnselectAll();
    void InvertSelection();
    // Selects (true) or unselects the messages of a mask and a date range
    // asked for in the select dialog.
    void SelectFilesDialog(bool select);
    // The select dialog's texts, remembered until the program ends.
    const QString& SelectMaskText() const { return selectMaskText_; }
    const QString& SelectFromText() const { return selectFromText_; }
    const QString& SelectToText() const { return selectToText_; }

    // Keeps the briefs of the rows around the visible ones and lets the
    // others go.
    void ViewPort();
    // The rows whose briefs were last kept.
    const BriefWindow& BriefWindowRows() const { return briefWindowRows_; }

    // The right-button drag: the row it started on (-1: none) and the mark it paints.
    int RightDragAnchor() const { return rightDragAnchor_; }
    bool RightDragState() const { return rightDragState_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool FileGridKeyDown(QKeyEvent* event);
    bool FileGridMouseDown(QMouseEvent* event);
    bool FileGridMouseMove(QMouseEvent* event);
    void FileGridMouseUp();
    void AfterMarksChanged();
    int ShownCount() const;

    TFileGrid& grid_;
    TMessageListModel& model_;
    TFilePanel& panel_;
    Hooks hooks_;
    QWidget* dialogParent_;
    QWidget* viewport_; // the grid's viewport, which this filters
    int rightDragAnchor_ = -1;
    bool rightDragState_ = false;
    BriefWindow briefWindowRows_;
    QString selectMaskText_;
    QString selectFromText_;
    QString selectToText_;
};

} // namespace varnot
