#pragma once

#include <QObject>

namespace varnot {

class TMainform;

// The window's side of the filter groups and the about box: the filter
// button, the Setup menu's Filters and the filter box's Filter setup open the
// group editor, and after its OK the window filters again with the group it
// had chosen (All when that group was erased); About opens the about box.
class TFilterCommands : public QObject {
  public:
    explicit TFilterCommands(TMainform& form);

    void EditFilters();
    void AboutItemClick();

  private:
    TMainform& form_;
};

} // namespace varnot
