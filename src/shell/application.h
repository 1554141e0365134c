#pragma once

#include <QApplication>

namespace oryx::shell {

// The application object. Every command catches its own errors (see
// doc::RunCommand); an error that still reaches the event loop is a fault,
// shown in the error box, logged and counted as the last resort.
class OryxApplication final : public QApplication {
    Q_OBJECT

public:
    OryxApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Errors that reached notify() since the program started; tests check it stays 0.
    static int UncaughtErrorCount();
};

}  // namespace oryx::shell
