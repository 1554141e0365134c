#include "doc/common/io_error.h"

#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>

namespace oryx::doc {

QString IoErrorText(int errorCode, bool folderExists) {
    switch (errorCode) {
    case ENOENT:
        // Creating a file in a folder that does not exist names a bad path.
        return folderExists ? QStringLiteral("File not found") : QStringLiteral("Invalid filename");
    case ENAMETOOLONG:
    case ENOTDIR:
    case EISDIR:
    case EINVAL: return QStringLiteral("Invalid filename");
    case EMFILE:
    case ENFILE: return QStringLiteral("Too many open files");
    case EACCES:
    case EPERM:
    case EROFS: return QStringLiteral("File access denied");
    case ENOSPC:
    case EDQUOT: return QStringLiteral("Disk full");
    default: return QStringLiteral("I/O error %1").arg(errorCode);
    }
}

AtomicFileWriter::AtomicFileWriter(const QString& fileName) : fileName_(fileName), file_(new QSaveFile(fileName)) {}

AtomicFileWriter::~AtomicFileWriter() { delete file_; }

void AtomicFileWriter::Fail() {
    const int code = errno;
    if (!error_.isEmpty()) return;
    const bool folderExists = QFileInfo(QFileInfo(fileName_).absolutePath()).isDir();
    if (code != 0)
        error_ = IoErrorText(code, folderExists);
    else if (!folderExists)
        error_ = IoErrorText(ENOENT, false);
    else
        error_ = file_->errorString();
    file_->cancelWriting();
}

bool AtomicFileWriter::Open() {
    errno = 0;
    if (QFileInfo(fileName_).isDir()) {
        errno = EISDIR;
        Fail();
        return false;
    }
    if (!file_->open(QIODevice::WriteOnly)) {
        Fail();
        return false;
    }
    return true;
}

void AtomicFileWriter::Write(const char* data, qint64 size) {
    if (!error_.isEmpty() || size == 0) return;
    errno = 0;
    if (file_->write(data, size) != size) Fail();
}

bool AtomicFileWriter::Commit() {
    if (!error_.isEmpty()) return false;
    errno = 0;
    if (!file_->commit()) {
        Fail();
        return false;
    }
    return true;
}

}  // namespace oryx::doc
