#pragma once
#include <QString>
#include <memory>
class QWidget;
class QPrinter;
namespace oryx::doc {
enum class MessageKind { Information, Error, Question };
// The progress window of a long piece of work, with a Cancel button; it goes
// when destroyed.
class Progress {
public:
    virtual ~Progress() = default;
    // Shows that `done` of `total` steps are done; false once the user cancelled.
    virtual bool Advance(qint64 done, qint64 total) = 0;
};
// Every dialog and message box the windows show goes through this interface,
// so tests can answer them. The default implementation uses QFileDialog,
// QMessageBox and QPrintDialog.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Chosen path, or empty on cancel. filter uses Qt's "Text Files (*.txt);;All Files (*)" form.
    virtual QString OpenFile(QWidget* parent, const QString& title, const QString& filter,
                             const QString& initialDir) = 0;
    // proposedName may be a bare file name; defaultSuffix without dot; confirmOverwrite asks before replacing.
    virtual QString SaveFile(QWidget* parent, const QString& title, const QString& filter, const QString& defaultSuffix,
                             const QString& proposedName, bool confirmOverwrite) = 0;
    // Information/Error: an OK box, returns true. Question: Yes/No box, true for Yes.
    virtual bool Message(QWidget* parent, MessageKind kind, const QString& caption, const QString& text) = 0;
    // The print dialog; true when the user confirmed.
    virtual bool Print(QWidget* parent, QPrinter& printer) = 0;
    // A progress window over `parent`, shown once the work takes a moment.
    virtual std::unique_ptr<Progress> ShowProgress(QWidget* parent, const QString& caption, const QString& label) = 0;
};
Dialogs& CurrentDialogs();          // the installed implementation (Qt default)
void SetDialogs(Dialogs* dialogs);  // tests install theirs; nullptr restores the default
}  // namespace oryx::doc
