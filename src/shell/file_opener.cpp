#include "shell/file_opener.h"

#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <exception>

#include "doc/common/command.h"
#include "doc/common/dialogs.h"
#include "shell/recent_file_list.h"

namespace oryx::shell {
namespace {

// Takes the drag as a copy (or a link): accepting a move would let the file
// manager delete the file it thinks was moved here.
bool TakeAsCopy(QDropEvent& drag) {
    const Qt::DropActions possible = drag.possibleActions();
    const Qt::DropAction action = possible & Qt::CopyAction   ? Qt::CopyAction
                                  : possible & Qt::LinkAction ? Qt::LinkAction
                                                              : Qt::IgnoreAction;
    if (action == Qt::IgnoreAction || FileOpener::DraggedFiles(drag.mimeData()).isEmpty()) return false;
    drag.setDropAction(action);
    drag.accept();
    return true;
}

}  // namespace

FileOpener::FileOpener(QWidget& window, RecentFileList& recentFiles, std::function<void(const QString&)> open)
    : QObject(&window), window_(window), recentFiles_(recentFiles), open_(std::move(open)) {
    window_.setAcceptDrops(true);
    window_.installEventFilter(this);
}

void FileOpener::OpenChosenFile() {
    const QString path =
        doc::CurrentDialogs().OpenFile(&window_, "Open", "All files (*)", recentFiles_.OpenDialogFolder());
    if (!path.isEmpty()) OpenFiles({path});
}

void FileOpener::OpenFiles(const QStringList& paths) {
    for (const QString& path : paths) {
        recentFiles_.Remember(path);
        doc::RunCommand([&] { open_(path); });
    }
}

QStringList FileOpener::CommandLineFiles(const QStringList& arguments, const QString& folder) {
    QStringList files;
    bool optionsEnded = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        QString argument = arguments[i];
        if (argument == QLatin1String("--") && !optionsEnded) {
            optionsEnded = true;
            continue;
        }
        if (argument.startsWith(QLatin1String("file://"))) argument = QUrl(argument).toLocalFile();
        if (!argument.isEmpty()) files << QDir::cleanPath(QDir(folder).absoluteFilePath(argument));
    }
    return files;
}

QStringList FileOpener::DraggedFiles(const QMimeData* data) {
    QStringList files;
    if (data && data->hasUrls())
        for (const QUrl& url : data->urls())
            if (url.isLocalFile() && !url.toLocalFile().isEmpty()) files << url.toLocalFile();
    return files;
}

bool FileOpener::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &window_) return false;
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: return TakeAsCopy(*static_cast<QDropEvent*>(event));
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        if (!TakeAsCopy(*drop)) return false;
        const QStringList files = DraggedFiles(drop->mimeData());
        // The file manager waits until the drop is taken; the files, which
        // may take a while to read, open right after.
        QTimer::singleShot(0, this, [this, files] { OpenFiles(files); });
        return true;
    }
    default: return false;
    }
}

}  // namespace oryx::shell
