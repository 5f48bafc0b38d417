#pragma once

#include <QString>
#include <optional>

class QPrinter;
class QWidget;

namespace varnot {

// The kind of a message box sets its title and icon.
enum class TMsgKind { Information, Warning, Error, Confirmation };
// The button sets in use.
enum class TMsgButtons { Yes, YesNo, YesNoCancel };
enum class TMsgResult { Yes, No, Cancel };

// Every modal question of the program goes through this interface, so that
// tests can answer them without a person and without blocking.
class TDialogs {
  public:
    virtual ~TDialogs() = default;

    // Closing the box without a button counts as the most cautious answer of
    // its set: Cancel, else No, else Yes. An empty title means the kind's own.
    virtual TMsgResult MessageBox(QWidget* parent, TMsgKind kind, const QString& text,
                                  TMsgButtons buttons, const QString& title = {}) = 0;
    // The chosen file, or an empty text when the operator cancelled.
    // `filter` uses the file dialog's syntax ("Text files (*.txt);;All files (*)").
    virtual QString OpenFileName(QWidget* parent, const QString& title, const QString& start,
                                 const QString& filter) = 0;
    virtual QString SaveFileName(QWidget* parent, const QString& title, const QString& start,
                                 const QString& filter) = 0;
    // The chosen folder, or an empty text when the operator cancelled.
    virtual QString BrowseFolder(QWidget* parent, const QString& title,
                                 const QString& startFolder) = 0;
    // The text entered, or nothing when the operator cancelled.
    virtual std::optional<QString> InputBox(QWidget* parent, const QString& title,
                                            const QString& prompt, const QString& defaultText) = 0;
    // The about box, until the operator closes it.
    virtual void AboutBox(QWidget* parent) = 0;
    // The platform's printer set-up dialog on `printer`; false when cancelled.
    virtual bool PrinterSetup(QWidget* parent, QPrinter& printer) = 0;
};

// The real dialogs of the toolkit.
class TQtDialogs : public TDialogs {
  public:
    TMsgResult MessageBox(QWidget* parent, TMsgKind kind, const QString& text, TMsgButtons buttons,
                          const QString& title = {}) override;
    QString OpenFileName(QWidget* parent, const QString& title, const QString& start,
                         const QString& filter) override;
    QString SaveFileName(QWidget* parent, const QString& title, const QString& start,
                         const QString& filter) override;
    QString BrowseFolder(QWidget* parent, const QString& title,
                         const QString& startFolder) override;
    // TInputDlg: one word, neither empty nor holding a blank.
    std::optional<QString> InputBox(QWidget* parent, const QString& title, const QString& prompt,
                                    const QString& defaultText) override;
    void AboutBox(QWidget* parent) override;
    bool PrinterSetup(QWidget* parent, QPrinter& printer) override;
};

// The title of a message box of that kind, in the current language.
QString MessageTitle(TMsgKind kind);

// The dialogs in use: the toolkit's unless SetDialogs installed others.
TDialogs& Dialogs();
// Installs other dialogs (not owned) and returns the ones used before;
// nullptr goes back to the toolkit's.
TDialogs* SetDialogs(TDialogs* dialogs);

} // namespace varnot
