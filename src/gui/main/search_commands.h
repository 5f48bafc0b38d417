#pragma once

#include "core/archive/message_text.h"
#include "core/main/find_settings.h"
#include "core/main/search_walk.h"

#include <QObject>
#include <optional>
#include <string>

namespace varnot {

class TMainform;

// Text search: the search dialog, Find next in the message on display, and
// the walk through the list on SearchTimer, a few messages a tick, to the
// next message holding the text. While a walk runs the rescan button shows
// its progress and stops it.
class TSearchCommands : public QObject {
    Q_OBJECT
  public:
    // Takes the last search from the settings and connects the search
    // commands and SearchTimer of the window's frame.
    explicit TSearchCommands(TMainform& form);
    ~TSearchCommands() override;

    // A walk through the messages runs.
    bool Searching() const { return walk_.has_value(); }
    // Ends a running walk; does nothing without one.
    void StopSearch();

  private:
    void FindButtonClick();
    void FindNext();
    void SearchTimerTimer();
    // Searches the rich view from its selection and selects the hit.
    bool SearchInView();
    // The disk path of a row's message, or nothing for one the view does not
    // show as text.
    std::string PathOfRow(int row) const;

    TMainform& form_;
    // SearchText as typed (1251 bytes) and SearchOptions.
    std::string text_;
    SearchFlags flags_;
    std::optional<MessageSearch> search_;
    std::optional<SearchWalk> walk_;
    ViewBuffer buffer_;
};

} // namespace varnot
