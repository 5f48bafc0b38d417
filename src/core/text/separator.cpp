#include "core/text/separator.h"

#include <utility>

namespace varnot {

namespace {
const std::string kNoField;
}

void TSeparator::Split(std::string_view text, char separator) {
    for (auto& slot : slots_) slot.clear();
    count_ = 0;

    bool collecting = false;
    for (char c : text) {
        if (c == separator) {
            if (collecting) {
                collecting = false;
                ++count_;
                // Stored lines are short; anything past the last field is noise.
                if (count_ == MaxFields) return;
            }
            continue;
        }
        collecting = true;
        slots_[static_cast<std::size_t>(count_)].push_back(c);
    }
    if (collecting) ++count_;
}

const std::string& TSeparator::Field(int position) const {
    if (position < 0 || position >= count_) return kNoField;
    return slots_[static_cast<std::size_t>(position)];
}

void TSeparator::SetField(int position, std::string text) {
    if (position < 0 || position >= count_) return;
    slots_[static_cast<std::size_t>(position)] = std::move(text);
}

std::string TSeparator::Join() const {
    std::string result;
    for (int i = 0; i < count_; ++i) {
        result += slots_[static_cast<std::size_t>(i)];
        result += ' ';
    }
    return result;
}

} // namespace varnot
