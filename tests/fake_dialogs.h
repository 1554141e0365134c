#pragma once

// Answers every dialog and message box the windows show, and records what
// was asked, so window tests run without a person at the screen.
#include <QPrinter>
#include <QString>
#include <QStringList>

#include <deque>
#include <memory>
#include <vector>

#include "doc/common/dialogs.h"

namespace oryx::testing {

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
    // Answers the windows' dialogs for as long as it lives.
    FakeDialogs() { doc::SetDialogs(this); }
    ~FakeDialogs() override { doc::SetDialogs(nullptr); }
    FakeDialogs(const FakeDialogs&) = delete;
    FakeDialogs& operator=(const FakeDialogs&) = delete;

    // Forgets every answer and record, as before a new test.
    void Reset() {
        openAnswers.clear();
        openTitles.clear();
        openFolders.clear();
        saveAnswers.clear();
        saves.clear();
        questionAnswers.clear();
        messages.clear();
        printAnswer.clear();
        prints = 0;
        progressCaptions.clear();
        progressDone = progressTotal = 0;
        cancelProgressAt = -1;
    }

    QString OpenFile(QWidget*, const QString& title, const QString&, const QString& initialDir) override {
        openTitles << title;
        openFolders << initialDir;
        return openAnswers.isEmpty() ? QString() : openAnswers.takeFirst();
    }

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

    bool Print(QWidget*, QPrinter& printer) override {
        ++prints;
        if (printAnswer.isEmpty()) return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printAnswer);
        return true;
    }

    // Records how far the work got, and presses Cancel once `cancelProgressAt` steps are done.
    class FakeProgress final : public doc::Progress {
    public:
        explicit FakeProgress(FakeDialogs& dialogs) : dialogs_(dialogs) {}
        bool Advance(qint64 done, qint64 total) override {
            dialogs_.progressDone = done;
            dialogs_.progressTotal = total;
            return dialogs_.cancelProgressAt < 0 || done < dialogs_.cancelProgressAt;
        }

    private:
        FakeDialogs& dialogs_;
    };

    std::unique_ptr<doc::Progress> ShowProgress(QWidget*, const QString& caption, const QString&) override {
        progressCaptions << caption;
        return std::make_unique<FakeProgress>(*this);
    }

    QStringList openAnswers;  // taken front first; none left means Cancel
    QStringList openTitles;
    QStringList openFolders;          // the initial folder of each Open dialog
    std::deque<QString> saveAnswers;  // taken front first; none left means Cancel
    std::vector<SaveRequest> saves;
    std::deque<bool> questionAnswers;  // taken front first; none left means No
    std::vector<ShownMessage> messages;
    QString printAnswer;  // a PDF file to print into; empty means Cancel
    int prints = 0;
    QStringList progressCaptions;  // one per progress window shown
    qint64 progressDone = 0;       // the last progress reported, and of how many steps
    qint64 progressTotal = 0;
    qint64 cancelProgressAt = -1;  // -1: never cancel
};

}  // namespace oryx::testing
