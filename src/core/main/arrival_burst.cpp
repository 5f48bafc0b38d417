#include "core/main/arrival_burst.h"

namespace varnot {

int TArrivalBurst::Add(const TNewMessages& messages) {
    if (messages.names.empty()) return 0;
    const bool first = names_.empty();
    int added = 0;
    for (const std::string& name : messages.names)
        if (names_.insert(name).second) ++added;
    // Record order: the newer time first, equal times by the greater name. A
    // message announced again brings its notice up to date.
    const std::string& name = messages.names.front();
    const bool newer = messages.newestTime > newestTime_ ||
                       (messages.newestTime == newestTime_ && name >= newestName_);
    if (first || newer) {
        newestName_ = name;
        newestTime_ = messages.newestTime;
        newestNotice_ = messages.newestNotice;
    }
    return added;
}

void TArrivalBurst::Clear() {
    names_.clear();
    newestName_.clear();
    newestTime_ = 0;
    newestNotice_.clear();
}

} // namespace varnot
