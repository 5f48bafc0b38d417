#pragma once

#include <functional>

namespace varnot {

// Keeps the kernel reading the next messages a pass will match while the pass
// matches the current one, so that a pass over an archive no longer in memory
// waits for many reads at once instead of one after another. It stays off
// until a read is found to have waited for the disk: on an archive the page
// cache holds it costs nothing.
class TReadAhead {
  public:
    // Files asked for ahead of the one being matched.
    static constexpr int kDepth = 32;

    // `willRead(position)`: the pass will read the record there (asked only
    // for positions it has not matched yet); `advise(position)`: ask for it.
    TReadAhead(int count, std::function<bool(int)> willRead, std::function<void(int)> advise);

    // The pass is about to match the record at `position`.
    void Reached(int position);
    // A read waited for the disk: from now on the next files are asked for.
    void Start();

  private:
    void TopUp();

    int count_;
    std::function<bool(int)> willRead_;
    std::function<void(int)> advise_;
    bool started_ = false;
    int position_ = 0;
    int next_ = 0;  // the first position not yet looked at
    int asked_ = 0; // files asked for after `position_`
};

} // namespace varnot
