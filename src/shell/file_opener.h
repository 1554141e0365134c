#pragma once

#include <QObject>
#include <QStringList>

#include <functional>

class QMimeData;
class QWidget;

namespace oryx::shell {

class RecentFileList;

// Opens files as the Open command does, wherever they come from: the Open
// dialog, the command line (the file manager's too) and files dropped on the
// main window. Each one is put in the recent files and opens in a window of
// its own behind a taskbar button; one that cannot be read shows the usual
// error box and the others still open, the last one opened in front.
class FileOpener final : public QObject {
    Q_OBJECT

public:
    // `window` takes the drops and is the parent of the Open dialog; `open`
    // opens one file behind a new taskbar button and throws when it cannot.
    FileOpener(QWidget& window, RecentFileList& recentFiles, std::function<void(const QString&)> open);

    // The Open dialog; nothing happens on Cancel.
    void OpenChosenFile();
    void OpenFiles(const QStringList& paths);

    // The files a command line names (the program first, Qt's own options
    // already taken out), as absolute paths against `folder`. "--" ends any
    // options and is not a file; file:// URLs are taken as their paths.
    static QStringList CommandLineFiles(const QStringList& arguments, const QString& folder);
    // The local files of a drag, in its order; empty when it carries none.
    static QStringList DraggedFiles(const QMimeData* data);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& window_;
    RecentFileList& recentFiles_;
    std::function<void(const QString&)> open_;
};

}  // namespace oryx::shell
