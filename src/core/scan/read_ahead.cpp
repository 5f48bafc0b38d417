#include "core/scan/read_ahead.h"

#include <utility>

namespace varnot {

TReadAhead::TReadAhead(int count, std::function<bool(int)> willRead,
                       std::function<void(int)> advise)
    : count_(count), willRead_(std::move(willRead)), advise_(std::move(advise)) {}

void TReadAhead::Reached(int position) {
    position_ = position;
    if (!started_) return;
    // A record asked for earlier is now the one being read.
    if (position < next_ && willRead_(position)) --asked_;
    TopUp();
}

void TReadAhead::Start() {
    if (started_) return;
    started_ = true;
    next_ = position_ + 1;
    TopUp();
}

void TReadAhead::TopUp() {
    for (; next_ < count_ && asked_ < kDepth; ++next_) {
        if (!willRead_(next_)) continue;
        advise_(next_);
        ++asked_;
    }
}

} // namespace varnot
