#pragma once

#include "core/scan/new_messages.h"

#include <cstdint>
#include <string>
#include <unordered_set>

namespace varnot {

// The new messages one desktop notification tells of: every message that
// came since the operator last looked, each counted once however often it
// was announced, and the newest of them.
class TArrivalBurst {
  public:
    // Counts the messages not counted yet; the number of them.
    int Add(const TNewMessages& messages);
    void Clear();

    int Count() const { return static_cast<int>(names_.size()); }
    bool Empty() const { return names_.empty(); }
    // The newest message by record order: its archive name and its notice.
    const std::string& NewestName() const { return newestName_; }
    const std::string& NewestNotice() const { return newestNotice_; }

  private:
    std::unordered_set<std::string> names_;
    std::string newestName_;
    std::int32_t newestTime_ = 0;
    std::string newestNotice_;
};

} // namespace varnot
