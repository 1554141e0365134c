#include "doc/common/dialogs.h"

#include <QElapsedTimer>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>

#include <algorithm>

namespace oryx::doc {
namespace {

class QtProgress final : public Progress {
public:
    QtProgress(QWidget* parent, const QString& caption, const QString& label)
        : dialog_(label, QStringLiteral("Cancel"), 0, kSteps, parent) {
        dialog_.setWindowTitle(caption);
        dialog_.setWindowModality(Qt::WindowModal);
        dialog_.setMinimumDuration(500);
        dialog_.setAutoReset(false);
        dialog_.setValue(0);
    }

    bool Advance(qint64 done, qint64 total) override {
        // A modal progress dialog handles the pending events on every new
        // value, so the work only reports now and then.
        if (!sinceUpdate_.isValid() || sinceUpdate_.elapsed() >= 50 || done >= total) {
            sinceUpdate_.start();
            dialog_.setValue(total > 0 ? static_cast<int>(std::min(done, total) * kSteps / total) : 0);
        }
        return !dialog_.wasCanceled();
    }

private:
    static constexpr int kSteps = 1000;
    QProgressDialog dialog_;
    QElapsedTimer sinceUpdate_;
};

class QtDialogs final : public Dialogs {
public:
    QString OpenFile(QWidget* parent, const QString& title, const QString& filter, const QString& initialDir) override {
        return QFileDialog::getOpenFileName(parent, title, initialDir, filter);
    }

    QString SaveFile(QWidget* parent, const QString& title, const QString& filter, const QString& defaultSuffix,
                     const QString& proposedName, bool confirmOverwrite) override {
        QFileDialog dialog(parent, title, QString(), filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDefaultSuffix(defaultSuffix);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !confirmOverwrite);
        if (!proposedName.isEmpty()) dialog.selectFile(proposedName);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
        return dialog.selectedFiles().first();
    }

    bool Message(QWidget* parent, MessageKind kind, const QString& caption, const QString& text) override {
        switch (kind) {
        case MessageKind::Information: QMessageBox::information(parent, caption, text); return true;
        case MessageKind::Error: QMessageBox::critical(parent, caption, text); return true;
        case MessageKind::Question:
            return QMessageBox::question(parent, caption, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) ==
                   QMessageBox::Yes;
        }
        return false;
    }

    bool Print(QWidget* parent, QPrinter& printer) override {
        QPrintDialog dialog(&printer, parent);
        return dialog.exec() == QDialog::Accepted;
    }

    std::unique_ptr<Progress> ShowProgress(QWidget* parent, const QString& caption, const QString& label) override {
        return std::make_unique<QtProgress>(parent, caption, label);
    }
};

QtDialogs& DefaultDialogs() {
    static QtDialogs dialogs;
    return dialogs;
}

Dialogs* installed = nullptr;

}  // namespace

Dialogs& CurrentDialogs() { return installed ? *installed : DefaultDialogs(); }

void SetDialogs(Dialogs* dialogs) { installed = dialogs; }

}  // namespace oryx::doc
