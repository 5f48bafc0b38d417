#include "gui/main/message_view.h"

#include "core/main/colour_spans.h"
#include "core/text/code_pages.h"

#include <QApplication>
#include <QEvent>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScrollBar>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QVBoxLayout>
#include <algorithm>

namespace varnot {

namespace {

// Character i of the result is byte i of the text: every byte of the code
// page maps to one character of the Basic Multilingual Plane (0x98, which has
// none, to U+FFFD), so positions computed on the bytes hold in the widgets.
QString WidgetText(std::string_view bytes) {
    const std::u16string utf16 = Cp1251ToUtf16(bytes);
    return QString(reinterpret_cast<const QChar*>(utf16.data()),
                   static_cast<qsizetype>(utf16.size()));
}

// Repainting a view waits until the whole change is in, so a message with
// many coloured words is drawn once.
class UpdatesSuspended {
  public:
    explicit UpdatesSuspended(QWidget* widget) : widget_(widget), was_(widget->updatesEnabled()) {
        widget_->setUpdatesEnabled(false);
    }
    ~UpdatesSuspended() { widget_->setUpdatesEnabled(was_); }
    UpdatesSuspended(const UpdatesSuspended&) = delete;
    UpdatesSuspended& operator=(const UpdatesSuspended&) = delete;

  private:
    QWidget* widget_;
    bool was_;
};

} // namespace

QColor ColourOfSetting(int bbggrr) {
    return QColor(bbggrr & 0xFF, (bbggrr >> 8) & 0xFF, (bbggrr >> 16) & 0xFF);
}

QFont ViewFontFor(const QString& family, int pointSize) {
    QFont font = QApplication::font();
    if (!family.isEmpty() && QFontDatabase::hasFamily(family)) font.setFamily(family);
    if (pointSize > 0) font.setPointSize(pointSize);
    return font;
}

TMessageView::TMessageView(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    ViewMemo = new QTextEdit(this);
    ViewMemo->setObjectName("ViewMemo");
    ViewMemo->setReadOnly(true);
    ViewMemo->setAcceptRichText(false);
    ViewMemo->setUndoRedoEnabled(false);
    ViewMemo->setLineWrapMode(QTextEdit::NoWrap);
    ViewMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Selecting and copying stay possible in a read-only view.
    ViewMemo->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    layout->addWidget(ViewMemo);

    ViewText = new QPlainTextEdit(this);
    ViewText->setObjectName("ViewText");
    ViewText->setReadOnly(true);
    ViewText->setUndoRedoEnabled(false);
    ViewText->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    ViewText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ViewText->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ViewText->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    ViewText->hide();
    layout->addWidget(ViewText);

    for (QWidget* watched : {static_cast<QWidget*>(ViewMemo), ViewMemo->viewport(),
                             static_cast<QWidget*>(ViewText), ViewText->viewport()})
        watched->installEventFilter(this);
}

TMessageView::~TMessageView() = default;

bool TMessageView::ShowTxtFile(const std::string& path, const ArchiveOptions& options) {
    UpdatesSuspended memoSuspended(ViewMemo);
    UpdatesSuspended textSuspended(ViewText);
    if (!LoadTextBuffer(path, options, buffer_)) {
        Clear();
        return false;
    }
    const std::string_view text = buffer_.Text();
    ViewText->setPlainText(WidgetText(text));
    ViewText->moveCursor(QTextCursor::Start);
    ViewText->horizontalScrollBar()->setValue(0);
    ViewText->verticalScrollBar()->setValue(0);
    richText_ = RichViewText(text, options.inZev);
    ColourMessage();
    return true;
}

void TMessageView::Clear() {
    ViewText->clear();
    richText_.clear();
    ViewMemo->clear();
}

void TMessageView::ColourMessage() {
    UpdatesSuspended suspended(ViewMemo);
    // The text and its colours go into a new document that nothing lays out
    // yet; the view lays it out once when it takes it. Colouring the document
    // on display would lay a long message out a second time, all in one go.
    const QPointer<QTextDocument> previous = ViewMemo->document();
    auto* document = new QTextDocument(ViewMemo);
    document->setUndoRedoEnabled(false);
    document->setDefaultFont(previous->defaultFont());
    document->setDefaultTextOption(previous->defaultTextOption());
    QTextCursor(document).insertText(WidgetText(richText_));
    // The document holds the text plus its closing paragraph mark.
    const std::size_t length =
        std::min(richText_.size(), static_cast<std::size_t>(document->characterCount() - 1));
    const std::vector<ColourSpan> runs = PlanColours(richText_, keywords_, highLightWords_);

    QTextCharFormat formats[4];
    formats[static_cast<int>(ColourKind::Plain)].setForeground(QColor(0, 0, 0));
    formats[static_cast<int>(ColourKind::Caption)].setForeground(ColourOfSetting(captionColour_));
    formats[static_cast<int>(ColourKind::KeyWord)].setForeground(ColourOfSetting(keyWordColour_));
    formats[static_cast<int>(ColourKind::HighLight)].setForeground(
        ColourOfSetting(highLightColour_));

    QTextCursor cursor(document);
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.mergeCharFormat(formats[static_cast<int>(ColourKind::Plain)]);
    for (const ColourSpan& run : runs) {
        if (run.start >= length) break;
        const std::size_t end = std::min(length, run.start + run.length);
        cursor.setPosition(static_cast<int>(run.start));
        cursor.setPosition(static_cast<int>(end), QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(formats[static_cast<int>(run.kind)]);
    }
    cursor.endEditBlock();
    ViewMemo->setDocument(document);
    // The view's own first document stays with it; one made here goes once replaced.
    if (previous && previous->parent() == ViewMemo) delete previous;
    CaretToStart();
}

void TMessageView::CaretToStart() {
    ViewMemo->setTextCursor(QTextCursor(ViewMemo->document()));
    ViewMemo->horizontalScrollBar()->setValue(0);
    ViewMemo->verticalScrollBar()->setValue(0);
}

void TMessageView::SetKeywords(std::vector<std::string> keywords) {
    keywords_ = std::move(keywords);
}

void TMessageView::SetHighLightWords(std::vector<std::string> words) {
    highLightWords_ = std::move(words);
}

void TMessageView::SetColours(int caption, int keyWord, int highLight) {
    captionColour_ = caption;
    keyWordColour_ = keyWord;
    highLightColour_ = highLight;
}

void TMessageView::SetViewFont(const QString& family, int pointSize) {
    UpdatesSuspended suspended(ViewMemo);
    const QFont font = ViewFontFor(family, pointSize);
    // The rich view's document takes the widget's font as its default, and
    // the colouring sets only colours, so the whole text follows.
    ViewMemo->setFont(font);
    ViewMemo->document()->setDefaultFont(font);
    ViewText->setFont(font);
}

QFont TMessageView::ViewFont() const {
    return ViewMemo->font();
}

void TMessageView::SetRichView(bool rich) {
    rich_ = rich;
    const bool hadFocus = HasFocus();
    ViewMemo->setVisible(rich);
    ViewText->setVisible(!rich);
    if (hadFocus) FocusView();
}

void TMessageView::SetWordWrap(bool wrap) {
    UpdatesSuspended suspended(ViewMemo);
    ViewMemo->setLineWrapMode(wrap ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
}

bool TMessageView::WordWrap() const {
    return ViewMemo->lineWrapMode() != QTextEdit::NoWrap;
}

bool TMessageView::HasFocus() const {
    return ViewMemo->hasFocus() || ViewText->hasFocus();
}

void TMessageView::FocusView() {
    if (rich_)
        ViewMemo->setFocus();
    else
        ViewText->setFocus();
}

void TMessageView::SelectInRichView(std::size_t start, std::size_t length) {
    const std::size_t size = static_cast<std::size_t>(ViewMemo->document()->characterCount() - 1);
    start = std::min(start, size);
    length = std::min(length, size - start);
    QTextCursor cursor(ViewMemo->document());
    cursor.setPosition(static_cast<int>(start));
    cursor.setPosition(static_cast<int>(start + length), QTextCursor::KeepAnchor);
    ViewMemo->setTextCursor(cursor);
    ViewMemo->ensureCursorVisible();
}

bool TMessageView::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress: {
        emit ViewActivity();
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) emit ViewEnterPressed();
        break;
    }
    case QEvent::MouseButtonPress:
        emit ViewActivity();
        break;
    case QEvent::MouseButtonDblClick:
        emit ViewActivity();
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) emit ViewDoubleClicked();
        break;
    case QEvent::FocusIn:
        if (watched == ViewMemo || watched == ViewText) emit ViewFocusChanged(true);
        break;
    case QEvent::FocusOut:
        if (watched == ViewMemo || watched == ViewText) emit ViewFocusChanged(false);
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace varnot
