#pragma once

#include <QObject>

#include <functional>

class QWidget;

namespace oryx::doc {

// Lets go of a window's contents once, when it closes: when it is closed
// itself, or when the area's frame around it closes without asking it first.
class CloseWatch final : public QObject {
public:
    CloseWatch(QWidget& window, std::function<void()> release);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Release();

    QWidget& window_;
    std::function<void()> release_;
    bool released_ = false;
};

}  // namespace oryx::doc
