#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace varnot::gen {

// Local receiving time of a message: goes into the dateline and, for sectioned
// files, into the datetime section.
struct MessageTime {
    int year = 2003, month = 1, day = 1, hour = 0, minute = 0;
};

// What one message file should look like.
struct MessagePlan {
    uint64_t seed = 0;          // the same plan always gives the same bytes
    std::size_t targetSize = 0; // the text grows until it reaches at least this many bytes
    MessageTime time;
    bool zev = false; // sectioned file: head, datetime and body sections
    bool dos = false; // code page 866 instead of 1251
    // Planted into the text (1251 bytes, as given) within the first 32767 bytes,
    // which is all the viewer ever searches. Null: nothing planted.
    const std::string* plant = nullptr;
    // Words that must not occur anywhere in the file, letter case ignored
    // (1251 bytes). Used for the messages that should not match a filter; an
    // accidental occurrence is broken up by replacing its first letter.
    const std::vector<std::string>* avoid = nullptr;
};

// Writes a news or radio-service message into `out` (cleared first): a caption
// line ("ZCZC", agency code, priority, headline in capitals) or a service header,
// indented paragraphs wrapped at a fixed width, CR LF line ends, sometimes an
// empty first line. `out` keeps its capacity between calls, so a caller that
// reuses one string allocates nothing per message.
void ComposeMessage(const MessagePlan& plan, std::string& out);

// True when `word` occurs in `text`, letter case ignored (both 1251).
bool ContainsCaseless(const std::string& text, const std::string& word);

} // namespace varnot::gen
