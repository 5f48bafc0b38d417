#include "archive_gen/message_composer.h"

#include "archive_gen/prng.h"
#include "archive_gen/vocabulary.h"
#include "core/text/code_pages.h"

#include <array>
#include <charconv>
#include <string_view>

namespace varnot::gen {

namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::size_t kSearchedBytes = 32000; // planted words stay inside what the viewer reads

template <typename T> const T& Pick(Prng& rng, const std::vector<T>& list) {
    return list[rng.Below(static_cast<uint32_t>(list.size()))];
}

void AppendTwoDigits(std::string& out, int value) {
    out.push_back(static_cast<char>('0' + (value / 10) % 10));
    out.push_back(static_cast<char>('0' + value % 10));
}

void AppendUpper(std::string& out, std::string_view word) {
    for (char c : word) out.push_back(static_cast<char>(Upcase1251(static_cast<unsigned char>(c))));
}

// Builds one message: words are laid into lines of a fixed width the way a
// teletype feed looks, paragraphs start indented.
class Composer {
  public:
    Composer(const MessagePlan& plan, std::string& out)
        : plan_(plan), out_(out), rng_(plan.seed), words_(Words()) {}

    void Run() {
        out_.clear();
        english_ = rng_.Chance(200);
        static constexpr std::array<int, 4> kWidths = {60, 64, 68, 72};
        static constexpr std::array<std::string_view, 5> kIndents = {"     ", "     ", "   ", "  ",
                                                                     ""};
        width_ = kWidths[rng_.Below(kWidths.size())];
        indent_ = kIndents[rng_.Below(kIndents.size())];
        blankLines_ = indent_.empty() || rng_.Chance(250);
        int style = static_cast<int>(rng_.Below(10));
        std::size_t limit = plan_.targetSize < kSearchedBytes ? plan_.targetSize : kSearchedBytes;
        plantAt_ = rng_.Below(static_cast<uint32_t>(limit == 0 ? 1 : limit));

        MakeHeadline();
        if (plan_.zev) WriteSections();
        if (rng_.Chance(40))
            out_.append(kCrLf);
        else if (rng_.Chance(15))
            out_.append("   \r\n");
        WriteCaption(style);
        WriteBody();
        WriteEnding(style);

        if (!plan_.plant && plan_.avoid && !plan_.avoid->empty()) Scrub(*plan_.avoid);
        if (plan_.dos) AnsiToOemInPlace(out_);
    }

  private:
    void MakeHeadline() {
        // One scratch string per thread: the headline is needed twice (the head
        // section and the caption) and should not cost an allocation per message.
        thread_local std::string headline;
        headline.clear();
        int count = rng_.Between(3, 8);
        for (int i = 0; i < count; ++i) {
            if (i > 0) headline.push_back(' ');
            const std::string& word =
                (!english_ && rng_.Chance(120))
                    ? Pick(rng_, words_.russianPlaces)
                    : Pick(rng_, english_ ? words_.englishWords : words_.russianWords);
            AppendUpper(headline, word);
        }
        headline_ = &headline;
    }

    void WriteSections() {
        const MessageTime& t = plan_.time;
        out_.append("[head]\r\nhead=");
        out_.append(*headline_);
        out_.append("\r\n[datetime]\r\nDate=");
        AppendTwoDigits(out_, t.year % 100);
        AppendTwoDigits(out_, t.month);
        AppendTwoDigits(out_, t.day);
        out_.append("\r\nTime=");
        AppendTwoDigits(out_, t.hour);
        AppendTwoDigits(out_, t.minute);
        out_.append("\r\n[body]\r\n");
    }

    void AppendNumber(int value) {
        char buf[16];
        auto res = std::to_chars(buf, buf + sizeof buf, value);
        out_.append(buf, res.ptr);
    }

    void WriteCaption(int style) {
        const std::string& code = Pick(rng_, words_.agencyCodes);
        const std::string& priority = Pick(rng_, words_.priorities);
        const std::string& category = Pick(rng_, words_.categories);
        int serial = rng_.Between(1, 9999);
        if (style <= 5) {
            out_.append("ZCZC ");
            out_.append(code);
            AppendNumber(serial);
            out_.push_back(' ');
            out_.append(priority);
            out_.push_back(' ');
            out_.append(category);
            if (style <= 3) {
                out_.push_back(' ');
                out_.append(*headline_);
            } else {
                out_.append(kCrLf);
                out_.append(*headline_);
            }
        } else if (style <= 7) {
            // Radio-service header: station prefix, serial, time, then the headline
            // indented on its own line.
            static constexpr std::array<std::string_view, 3> kStations = {"FOA", "FSTA", "RTR"};
            out_.append(kStations[rng_.Below(kStations.size())]);
            out_.push_back(' ');
            AppendTwoDigits(out_, serial / 100);
            AppendTwoDigits(out_, serial);
            out_.push_back(' ');
            AppendTwoDigits(out_, plan_.time.hour);
            AppendTwoDigits(out_, plan_.time.minute);
            out_.append(" SVC");
            out_.append(kCrLf);
            out_.append("  ");
            out_.append(*headline_);
        } else {
            out_.append(code);
            out_.push_back(' ');
            out_.append(priority);
            out_.push_back(' ');
            out_.append(*headline_);
        }
        out_.append(kCrLf);
        if (rng_.Chance(300)) out_.append(kCrLf);
    }

    // One word into the current line, wrapping first when it would not fit.
    void Emit(std::string_view word, bool capital = false, char punct = 0) {
        std::size_t need = word.size() + (punct ? 1 : 0);
        if (lineLength_ > 0 && lineLength_ + 1 + need > static_cast<std::size_t>(width_)) {
            out_.append(kCrLf);
            lineLength_ = 0;
        }
        if (lineLength_ > 0) {
            out_.push_back(' ');
            ++lineLength_;
        }
        if (capital && !word.empty()) {
            out_.push_back(static_cast<char>(Upcase1251(static_cast<unsigned char>(word[0]))));
            out_.append(word.substr(1));
        } else {
            out_.append(word);
        }
        if (punct) out_.push_back(punct);
        lineLength_ += need;
    }

    void StartParagraph(bool first) {
        if (!first && blankLines_) out_.append(kCrLf);
        out_.append(indent_);
        lineLength_ = indent_.size();
    }

    void EndParagraph() {
        out_.append(kCrLf);
        lineLength_ = 0;
    }

    void MaybePlant() {
        if (plan_.plant && !planted_ && out_.size() >= plantAt_) {
            Emit(*plan_.plant);
            planted_ = true;
        }
    }

    void WriteDateline() {
        const MessageTime& t = plan_.time;
        char day[4];
        auto res = std::to_chars(day, day + sizeof day, t.day);
        std::string_view dayText(day, static_cast<std::size_t>(res.ptr - day));
        if (english_) {
            thread_local std::string place;
            place = Pick(rng_, words_.englishPlaces);
            place.push_back(',');
            Emit(place);
            Emit(words_.englishMonths[static_cast<std::size_t>(t.month - 1) % 12]);
            Emit(dayText);
            Emit(Pick(rng_, words_.englishSources));
            Emit("-");
        } else {
            thread_local std::string place;
            place.clear();
            AppendUpper(place, Pick(rng_, words_.russianPlaces));
            place.push_back(',');
            Emit(place);
            Emit(dayText);
            Emit(words_.russianMonths[static_cast<std::size_t>(t.month - 1) % 12], false, '.');
            Emit(Pick(rng_, words_.russianSources), false, '.');
        }
    }

    void WriteToken(bool capital, char punct) {
        uint32_t r = rng_.Below(100);
        if (r < 4) {
            char buf[16];
            int value = rng_.Chance(300) ? rng_.Between(1990, 2010) : rng_.Between(1, 999);
            auto res = std::to_chars(buf, buf + sizeof buf, value);
            Emit(std::string_view(buf, static_cast<std::size_t>(res.ptr - buf)), false, punct);
        } else if (r < 7) {
            Emit(english_ ? Pick(rng_, words_.englishPlaces) : Pick(rng_, words_.latinNames), false,
                 punct);
        } else if (r < 10 && !english_) {
            Emit(Pick(rng_, words_.russianPlaces), false, punct);
        } else {
            Emit(Pick(rng_, english_ ? words_.englishWords : words_.russianWords), capital, punct);
        }
    }

    void WriteSentence() {
        int count = rng_.Between(5, 18);
        for (int i = 0; i < count; ++i) {
            MaybePlant();
            bool last = i + 1 == count;
            char punct = last ? '.' : (rng_.Chance(80) ? ',' : 0);
            WriteToken(i == 0, punct);
        }
    }

    void WriteBody() {
        bool first = true;
        while (out_.size() < plan_.targetSize) {
            StartParagraph(first);
            if (first) WriteDateline();
            first = false;
            int sentences = rng_.Between(1, 5);
            for (int i = 0; i < sentences && out_.size() < plan_.targetSize; ++i) WriteSentence();
            EndParagraph();
        }
        if (plan_.plant && !planted_) {
            // Only when the message was too short to reach the planting point.
            StartParagraph(false);
            plantAt_ = 0;
            MaybePlant();
            WriteSentence();
            EndParagraph();
        }
    }

    void WriteEnding(int style) {
        if (!english_ && rng_.Chance(300)) {
            out_.append(indent_);
            out_.append(Pick(rng_, words_.russianEndings));
            out_.append(kCrLf);
        }
        if (style <= 5 || rng_.Chance(500)) out_.append("NNNN\r\n");
    }

    // Breaks up every occurrence of the words the message must not hold.
    void Scrub(const std::vector<std::string>& avoid) {
        char replacement = '#';
        for (char candidate : std::string_view("#~^|*")) {
            bool used = false;
            for (const std::string& w : avoid)
                if (w.find(candidate) != std::string::npos) used = true;
            if (!used) {
                replacement = candidate;
                break;
            }
        }
        for (std::size_t p = 0; p < out_.size(); ++p) {
            for (const std::string& w : avoid) {
                if (w.empty() || w.size() > out_.size() - p) continue;
                std::size_t i = 0;
                while (i < w.size() && Upcase1251(static_cast<unsigned char>(out_[p + i])) ==
                                           Upcase1251(static_cast<unsigned char>(w[i])))
                    ++i;
                if (i == w.size()) {
                    out_[p] = replacement;
                    break;
                }
            }
        }
    }

    const MessagePlan& plan_;
    std::string& out_;
    Prng rng_;
    const Vocabulary& words_;
    const std::string* headline_ = nullptr;
    bool english_ = false;
    int width_ = 64;
    std::string_view indent_;
    bool blankLines_ = false;
    std::size_t lineLength_ = 0;
    std::size_t plantAt_ = 0;
    bool planted_ = false;
};

} // namespace

void ComposeMessage(const MessagePlan& plan, std::string& out) {
    Composer(plan, out).Run();
}

bool ContainsCaseless(const std::string& text, const std::string& word) {
    if (word.empty()) return true;
    for (std::size_t p = 0; p + word.size() <= text.size(); ++p) {
        std::size_t i = 0;
        while (i < word.size() && Upcase1251(static_cast<unsigned char>(text[p + i])) ==
                                      Upcase1251(static_cast<unsigned char>(word[i])))
            ++i;
        if (i == word.size()) return true;
    }
    return false;
}

} // namespace varnot::gen
