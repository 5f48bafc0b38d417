#pragma once

#include "core/archive/archive_options.h"
#include "core/archive/message_text.h"

#include <QColor>
#include <QFont>
#include <QString>
#include <QWidget>
#include <string>
#include <vector>

class QPlainTextEdit;
class QTextEdit;

namespace varnot {

// Colours are stored with red in the lowest byte, green in the next and blue
// in the third (0x00BBGGRR).
QColor ColourOfSetting(int bbggrr);

// The font of the message views: the family when the system has it (a
// stored "System" has no such font here), else the application's font; a
// size of 0 or below keeps that font's size.
QFont ViewFontFor(const QString& family, int pointSize);

// The pane below the message list: a rich view (`ViewMemo`) that colours the
// caption, the filter's keywords and the highlight words, and a plain view
// (`ViewText`) with the file's text as it is. Exactly one of them is visible.
// Both are read-only and hold the message shown last.
class TMessageView : public QWidget {
    Q_OBJECT
  public:
    explicit TMessageView(QWidget* parent = nullptr);
    ~TMessageView() override;

    // Loads a message (at most 32767 bytes, cut at its first NUL, converted
    // from 866 with InDOS) into both views and colours the rich one; with
    // InZEV the rich view shows only the lines of the section "body". A file
    // that cannot be read empties both views and gives false.
    bool ShowTxtFile(const std::string& path, const ArchiveOptions& options);
    // Empties both views (a message that is not text is not shown).
    void Clear();
    // Colours the text already in the rich view again, after the words or the
    // colours changed; the caret goes to the start.
    void ColourMessage();

    // Words in code page 1251, any letter case; taken at the next colouring.
    void SetKeywords(std::vector<std::string> keywords);
    void SetHighLightWords(std::vector<std::string> words);
    const std::vector<std::string>& Keywords() const { return keywords_; }
    const std::vector<std::string>& HighLightWords() const { return highLightWords_; }
    // Colours as stored (0x00BBGGRR); taken at the next colouring.
    void SetColours(int caption, int keyWord, int highLight);
    int CaptionColour() const { return captionColour_; }
    int KeyWordColour() const { return keyWordColour_; }
    int HighLightColour() const { return highLightColour_; }

    // The font of both views; see ViewFontFor.
    void SetViewFont(const QString& family, int pointSize);
    QFont ViewFont() const;

    // True shows the rich view, false the plain one; the text stays.
    void SetRichView(bool rich);
    bool RichView() const { return rich_; }
    // Wrapping of the rich view (off at start; the plain view always wraps).
    void SetWordWrap(bool wrap);
    bool WordWrap() const;

    // True when either view has the keyboard focus.
    bool HasFocus() const;
    // Gives the focus to the view on display.
    void FocusView();

    // The rich view's text as code page 1251 bytes: character i of the view
    // is byte i here, so a search on these bytes can select in the view.
    const std::string& RichText() const { return richText_; }
    // Selects a stretch of the rich view (cut to its text) and shows it.
    void SelectInRichView(std::size_t start, std::size_t length);
    // The buffer the last message was loaded into.
    const ViewBuffer& Buffer() const { return buffer_; }

    QTextEdit* ViewMemo = nullptr;
    QPlainTextEdit* ViewText = nullptr;

  signals:
    // A key or mouse press in either view (the operator is active).
    void ViewActivity();
    // Enter pressed in either view.
    void ViewEnterPressed();
    // A left double-click in either view.
    void ViewDoubleClicked();
    // Either view gained (true) or lost (false) the focus.
    void ViewFocusChanged(bool focused);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void CaretToStart();

    ViewBuffer buffer_;
    std::string richText_;
    std::vector<std::string> keywords_;
    std::vector<std::string> highLightWords_;
    int captionColour_ = 32768;
    int keyWordColour_ = 16711680;
    int highLightColour_ = 255;
    bool rich_ = true;
};

} // namespace varnot
