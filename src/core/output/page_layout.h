#pragma once

#include <cstdint>

namespace varnot {

// Where printed lines go, in printer units: a line pitch of the font's point
// size, a left margin of 48 points, a top margin of two lines, and a new page
// once fewer than two lines of space would stay below the next line.
class TPageLayout {
  public:
    // dpiX and dpiY: the printer's resolution; pageHeight: its printable
    // height. A point size below 1 counts as 1.
    TPageLayout(int dpiX, int dpiY, int pointSize, int pageHeight);

    std::int32_t LineHeight() const { return lineHeight_; }
    std::int32_t LeftMargin() const { return leftMargin_; }
    std::int32_t PageHeight() const { return pageHeight_; }
    std::int32_t TopY() const { return 2 * lineHeight_; }
    // How many lines one page holds (at least one).
    int LinesPerPage() const;

    // The place of the next line. The page break is taken when a line comes
    // that needs it, so a job never ends with an empty page.
    struct Slot {
        std::int32_t y;
        bool newPage; // start a new page before drawing it
    };
    Slot NextLine();

  private:
    std::int32_t lineHeight_;
    std::int32_t leftMargin_;
    std::int32_t pageHeight_;
    std::int32_t currentY_;
    bool breakPending_ = false;
};

} // namespace varnot
