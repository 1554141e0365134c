#pragma once

#include <QApplication>

namespace oryx::shell {

// The application object. Errors that nobody else catches end here: the
// default error display shows the error's text in a message box and the
// program goes on with the next event.
class OryxApplication final : public QApplication {
    Q_OBJECT

public:
    OryxApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // The default error display; callable by anyone who caught an error that
    // only the user can deal with.
    static void ShowError(const std::exception& error);
};

}  // namespace oryx::shell
