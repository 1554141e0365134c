#pragma once

// Fakes that answer the document window's dialogs and stand in for the main
// window, and sample provisioning files written to a temporary folder.
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <deque>
#include <map>
#include <string_view>
#include <vector>

#include "doc/dialogs.h"
#include "doc/document_host.h"

namespace oryx::doctest {

struct ShownMessage {
    doc::MessageKind kind;
    QString caption;
    QString text;
};

struct SaveRequest {
    QString title;
    QString filter;
    QString defaultSuffix;
    QString proposedName;
    bool confirmOverwrite;
};

class FakeDialogs final : public doc::Dialogs {
public:
    FakeDialogs() { doc::SetDialogs(this); }
    ~FakeDialogs() override { doc::SetDialogs(nullptr); }

    QString OpenFile(QWidget*, const QString&, const QString&, const QString&) override { return {}; }

    QString SaveFile(QWidget*, const QString& title, const QString& filter, const QString& defaultSuffix,
                     const QString& proposedName, bool confirmOverwrite) override {
        saves.push_back({title, filter, defaultSuffix, proposedName, confirmOverwrite});
        if (saveAnswers.empty()) return {};
        const QString answer = saveAnswers.front();
        saveAnswers.pop_front();
        return answer;
    }

    bool Message(QWidget*, doc::MessageKind kind, const QString& caption, const QString& text) override {
        messages.push_back({kind, caption, text});
        if (kind != doc::MessageKind::Question) return true;
        if (questionAnswers.empty()) return false;
        const bool answer = questionAnswers.front();
        questionAnswers.pop_front();
        return answer;
    }

    bool Print(QWidget*, QPrinter&) override {
        ++prints;
        return false;
    }

    std::deque<QString> saveAnswers;
    std::deque<bool> questionAnswers;
    std::vector<SaveRequest> saves;
    std::vector<ShownMessage> messages;
    int prints = 0;
};

class FakeHost final : public doc::DocumentHost {
public:
    void SetReportChecked(int reportCode, bool checked) override { checks[reportCode] = checked; }
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

inline QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace oryx::doctest
