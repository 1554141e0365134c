// The recent-files list of the main window: at most thirteen full paths, most
// recent first, one entry per file whatever the letter case. It is read from
// the settings store at start, written back at close, and shown in the File
// menu and in the Open button's drop-down.
#include <QFile>
#include <QFileInfo>

#include "doc/dialogs.h"
#include "settings/registry_enhanced.h"
#include "shell/main_form.h"

namespace oryx::shell {

namespace {

constexpr int kMaxRecentFiles = 13;

std::string SlotName(int number) {
    return "MRU" + std::to_string(number);
}

// Where the list holds the path, letter case ignored; -1 when it does not.
qsizetype IndexOf(const QStringList& list, const QString& path) {
    for (qsizetype i = 0; i < list.size(); ++i)
        if (list[i].compare(path, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

}  // namespace

void TMainForm::RememberRecentFile(const QString& path) {
    if (!RecentFiles.contains(path, Qt::CaseInsensitive)) {
        RecentFiles.prepend(path);
        while (RecentFiles.size() > kMaxRecentFiles)
            RecentFiles.removeLast();
    }
    openDialogFolder_ = QFileInfo(RecentFiles.first()).absolutePath();
}

void TMainForm::LoadRecentFiles() {
    for (int n = 1; n <= kMaxRecentFiles; ++n) {
        const settings::SettingValue value = Reg->ReadValue(SlotName(n), "");
        const QString path = value.IsInteger() ? QString::number(value.AsInteger())
                             : value.IsString() ? QFile::decodeName(QByteArray::fromStdString(value.AsString()))
                                                : QString();
        if (!path.isEmpty() && !RecentFiles.contains(path, Qt::CaseInsensitive))
            RecentFiles.append(path);
    }
    if (!RecentFiles.isEmpty())
        openDialogFolder_ = QFileInfo(RecentFiles.first()).absolutePath();
}

void TMainForm::SaveRecentFiles() {
    for (int i = 1; i <= RecentFiles.size(); ++i)
        Reg->WriteValue(SlotName(i), QFile::encodeName(RecentFiles[i - 1]).toStdString());
    // Slots an earlier run filled beyond today's list are emptied, so an entry
    // dropped during this run does not come back at the next start.
    for (int i = static_cast<int>(RecentFiles.size()) + 1; i <= kMaxRecentFiles; ++i)
        if (Reg->ReadValue(SlotName(i), "") != settings::SettingValue(""))
            Reg->WriteValue(SlotName(i), "");
}

void TMainForm::File1Click() {
    for (QAction* slot : miMRU)
        slot->setVisible(false);
    if (RecentFiles.isEmpty()) {
        for (QAction* slot : popMRU)
            slot->setVisible(false);
        return;
    }
    for (qsizetype i = 0; i < RecentFiles.size(); ++i) {
        const QString& path = RecentFiles[i];
        for (QAction* slot : {miMRU[i], popMRU[i]}) {
            // The path itself is the slot's data; the caption doubles "&" so
            // that a path holding one shows it instead of an access key.
            slot->setText(QString(path).replace('&', "&&"));
            slot->setData(path);
            slot->setStatusTip(path);
            slot->setEnabled(true);
            slot->setVisible(true);
        }
    }
    for (std::size_t i = RecentFiles.size(); i < miMRU.size(); ++i)
        for (QAction* slot : {miMRU[i], popMRU[i]}) {
            slot->setEnabled(false);
            slot->setVisible(false);
        }
}

void TMainForm::miMRU1Click() {
    auto* slot = qobject_cast<QAction*>(sender());
    if (!slot)
        return;
    const QString path = slot->data().toString();
    const QFileInfo file(path);
    if (file.exists() && !file.isDir()) {
        const qsizetype at = IndexOf(RecentFiles, path);
        if (at >= 0)
            RecentFiles.removeAt(at);
        RecentFiles.prepend(path);
        OpenWithTaskbarButton(path);
        openDialogFolder_ = file.absolutePath();
        return;
    }
    doc::CurrentDialogs().Message(this, doc::MessageKind::Error, "Error",
                                  "Error opening file:\n" + path + "\nFile Not Found!");
    if (const qsizetype at = IndexOf(RecentFiles, path); at >= 0)
        RecentFiles.removeAt(at);
    File1Click();
}

}  // namespace oryx::shell
