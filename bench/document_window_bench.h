#pragma once

// What the benchmarks of a document window alone share.
#include <QApplication>
#include <QWidget>

#include "doc/common/document_host.h"

namespace oryx::bench {

// A document window's host with no main window behind it.
class NoHost final : public doc::DocumentHost {
public:
    void SetReportChecked(reports::ReportId, bool) override {}
    void DocumentClosing(const QString&) override {}
};

// Lets the window lay out what the last step changed and paints it.
inline void Settle(QWidget& window) {
    QApplication::processEvents();
    window.repaint();
    QApplication::processEvents();
}

}  // namespace oryx::bench
