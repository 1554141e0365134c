#pragma once

#include <QApplication>
#include <QCursor>

namespace oryx::doc {

// The hourglass for the life of the guard; the pointer comes back also when
// the guarded operation throws.
class WaitCursor final {
public:
    WaitCursor() { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace oryx::doc
