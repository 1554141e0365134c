#include "doc/common/open_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "doc/common/dialogs.h"

namespace oryx::doc {

namespace {

using FileIdentity = std::pair<dev_t, ino_t>;

std::optional<FileIdentity> IdentityOf(const QString& fileName) {
    struct stat info {};
    if (::stat(QFile::encodeName(fileName).constData(), &info) != 0) return std::nullopt;
    return FileIdentity{info.st_dev, info.st_ino};
}

struct OpenFile {
    QString fileName;
    std::optional<FileIdentity> identityWhenOpened;
};

std::vector<OpenFile>& OpenFiles() {
    static std::vector<OpenFile> files;
    return files;
}

}  // namespace

OpenFileMark::OpenFileMark(const QString& fileName) : fileName_(fileName) {
    OpenFiles().push_back({fileName, IdentityOf(fileName)});
}

OpenFileMark::~OpenFileMark() {
    auto& files = OpenFiles();
    const auto mark =
        std::find_if(files.begin(), files.end(), [&](const OpenFile& f) { return f.fileName == fileName_; });
    if (mark != files.end()) files.erase(mark);
}

bool IsOpenFile(const QString& fileName) {
    const std::optional<FileIdentity> chosen = IdentityOf(fileName);
    const QString chosenPath = QDir::cleanPath(QFileInfo(fileName).absoluteFilePath());
    for (const OpenFile& open : OpenFiles()) {
        // The open file may have been replaced on disk since it was read:
        // both the file read and the one now at its path are protected.
        if (chosen && (chosen == open.identityWhenOpened || chosen == IdentityOf(open.fileName))) return true;
        if (chosenPath == QDir::cleanPath(QFileInfo(open.fileName).absoluteFilePath())) return true;
    }
    return false;
}

QString ChooseSaveFile(QWidget* parent, const QString& title, const QString& filter, const QString& defaultSuffix,
                       const QString& proposedName) {
    for (;;) {
        const QString fileName = CurrentDialogs().SaveFile(parent, title, filter, defaultSuffix, proposedName, true);
        if (fileName.isEmpty() || !IsOpenFile(fileName)) return fileName;
        CurrentDialogs().Message(parent, MessageKind::Error, QStringLiteral("Error"),
                                 QStringLiteral("The file is open in ORYX and cannot be overwritten:\r") + fileName);
    }
}

}  // namespace oryx::doc
