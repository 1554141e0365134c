#pragma once

// A fake that stands in for the main window, and sample provisioning files written to a temporary folder.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <deque>
#include <map>
#include <string_view>
#include <vector>

#include "doc/common/document_host.h"
#include "fake_dialogs.h"

namespace oryx::doctest {

using oryx::testing::FakeDialogs;

class FakeHost final : public doc::DocumentHost {
public:
    void SetReportChecked(reports::ReportId report, bool checked) override {
        checks[reports::Report(report).code] = checked;
    }
    void DocumentClosing(const QString& windowName) override { closed << windowName; }

    // The codes whose menu item carries a check mark.
    std::vector<int> Checked() const {
        std::vector<int> codes;
        for (const auto& [code, on] : checks)
            if (on) codes.push_back(code);
        return codes;
    }

    std::map<int, bool> checks;
    QStringList closed;
};

inline QString WriteFile(const QTemporaryDir& dir, const QString& name, std::string_view bytes) {
    const QString path = dir.filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    return path;
}

// Shows the window as the active one and waits until it is.
inline void ShowActive(QWidget& window) {
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
}

inline QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace oryx::doctest
