#include "doc/dialogs.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

namespace oryx::doc {
namespace {

class QtDialogs final : public Dialogs {
public:
    QString OpenFile(QWidget* parent, const QString& title, const QString& filter,
                     const QString& initialDir) override {
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
        case MessageKind::Information:
            QMessageBox::information(parent, caption, text);
            return true;
        case MessageKind::Error:
            QMessageBox::critical(parent, caption, text);
            return true;
        case MessageKind::Question:
            return QMessageBox::question(parent, caption, text, QMessageBox::Yes | QMessageBox::No,
                                         QMessageBox::Yes) == QMessageBox::Yes;
        }
        return false;
    }

    bool Print(QWidget* parent, QPrinter& printer) override {
        QPrintDialog dialog(&printer, parent);
        return dialog.exec() == QDialog::Accepted;
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
