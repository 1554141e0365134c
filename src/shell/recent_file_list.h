#pragma once

#include <QObject>
#include <QStringList>

#include <functional>
#include <vector>

class QAction;
class QMenu;
class QWidget;

namespace oryx::shell {

class AppSettings;

// The recent-files list: at most thirteen full paths, most recent first, one
// entry per file whatever the letter case. It is read from the settings at
// start, written back at close, and shown as items of the File menu and of
// the Open button's drop-down. Choosing an item opens its file, or reports
// and drops a file that has gone.
class RecentFileList final : public QObject {
    Q_OBJECT

public:
    // `window` is the parent of the drop-down and of error boxes; `open`
    // opens a chosen file as the Open command does (and may throw).
    RecentFileList(AppSettings& settings, QWidget* window, std::function<void(const QString&)> open);

    // Puts a file opened through the Open dialog in front, unless listed.
    void Remember(const QString& path);
    void Load();
    void Save();
    void Clear() { paths_.clear(); }
    const QStringList& Paths() const { return paths_; }
    // The folder the Open dialog starts in: that of the last file opened.
    const QString& OpenDialogFolder() const { return openDialogFolder_; }

    // The File menu's items ("miMRU1"...) and the Open button's drop-down
    // ("MRUPopup"), both brought up to date before they show.
    const std::vector<QAction*>& MenuItems() const { return menuItems_; }
    QMenu* PopupMenu() const { return popup_; }
    void RefreshItems();

private:
    void OpenItem(const QAction& item);

    AppSettings& settings_;
    QWidget* window_;
    std::function<void(const QString&)> open_;
    QStringList paths_;
    QString openDialogFolder_;
    std::vector<QAction*> menuItems_;
    std::vector<QAction*> popupItems_;
    QMenu* popup_;
};

}  // namespace oryx::shell
