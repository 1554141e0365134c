#include "shell/recent_file_list.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>

#include "doc/common/command.h"
#include "doc/common/dialogs.h"
#include "doc/common/text_codec.h"
#include "shell/app_settings.h"
#include "text/message_value.h"

namespace oryx::shell {

namespace {

// Where the list holds the path, letter case ignored; -1 when it does not.
qsizetype IndexOf(const QStringList& list, const QString& path) {
    for (qsizetype i = 0; i < list.size(); ++i)
        if (list[i].compare(path, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

}  // namespace

RecentFileList::RecentFileList(AppSettings& settings, QWidget* window, std::function<void(const QString&)> open)
    : QObject(window), settings_(settings), window_(window), open_(std::move(open)), popup_(new QMenu(window)) {
    popup_->setObjectName("MRUPopup");
    for (int n = 1; n <= AppSettings::kRecentFileSlots; ++n) {
        const QString caption = QStringLiteral("MRU%1").arg(n);
        for (auto [items, prefix] : {std::pair{&menuItems_, "miMRU"}, std::pair{&popupItems_, "popMRU"}}) {
            auto* item = new QAction(caption, window);
            item->setObjectName(prefix + QString::number(n));
            connect(item, &QAction::triggered, this, doc::Command([this, item] { OpenItem(*item); }));
            items->push_back(item);
        }
        popupItems_.back()->setVisible(false);
        popup_->addAction(popupItems_.back());
    }
    connect(popup_, &QMenu::aboutToShow, this, &RecentFileList::RefreshItems);
}

void RecentFileList::Remember(const QString& path) {
    if (!paths_.contains(path, Qt::CaseInsensitive)) {
        paths_.prepend(path);
        while (paths_.size() > AppSettings::kRecentFileSlots) paths_.removeLast();
    }
    openDialogFolder_ = QFileInfo(paths_.first()).absolutePath();
}

void RecentFileList::Load() {
    for (const QString& path : settings_.RecentFileSlots())
        if (!path.isEmpty() && !paths_.contains(path, Qt::CaseInsensitive)) paths_.append(path);
    if (!paths_.isEmpty()) openDialogFolder_ = QFileInfo(paths_.first()).absolutePath();
}

void RecentFileList::Save() { settings_.StoreRecentFiles(paths_); }

void RecentFileList::RefreshItems() {
    for (QAction* item : menuItems_) item->setVisible(false);
    if (paths_.isEmpty()) {
        for (QAction* item : popupItems_) item->setVisible(false);
        return;
    }
    for (std::size_t i = 0; i < menuItems_.size(); ++i) {
        const bool listed = i < static_cast<std::size_t>(paths_.size());
        for (QAction* item : {menuItems_[i], popupItems_[i]}) {
            if (listed) {
                const QString& path = paths_[static_cast<qsizetype>(i)];
                // The path itself is the item's data; the caption doubles "&"
                // so that a path holding one shows it instead of an access key.
                item->setText(QString(path).replace('&', "&&"));
                item->setData(path);
                item->setStatusTip(path);
            }
            item->setEnabled(listed);
            item->setVisible(listed);
        }
    }
}

void RecentFileList::OpenItem(const QAction& item) {
    const QString path = item.data().toString();
    const QFileInfo file(path);
    if (file.exists() && !file.isDir()) {
        if (const qsizetype at = IndexOf(paths_, path); at >= 0) paths_.removeAt(at);
        paths_.prepend(path);
        open_(path);
        openDialogFolder_ = file.absolutePath();
        return;
    }
    doc::CurrentDialogs().Message(
        window_, doc::MessageKind::Error, "Error",
        "Error opening file:\n" + doc::DisplayText(text::MessageValue(doc::FileNameBytes(path))) + "\nFile Not Found!");
    if (const qsizetype at = IndexOf(paths_, path); at >= 0) paths_.removeAt(at);
    RefreshItems();
}

}  // namespace oryx::shell
