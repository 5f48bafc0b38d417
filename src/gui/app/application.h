#pragma once

#include <QApplication>

namespace varnot {

// The application object. A failure that no operation catches ends only the
// event handler that was running: it is shown in an error box and the
// program goes on.
class TApplication : public QApplication {
  public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace varnot
