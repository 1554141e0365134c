#pragma once

#include <QString>

class QSaveFile;

namespace oryx::doc {

// The message shown when a file cannot be created or written, by the
// system's error code: "File not found", "Invalid filename", "Too many open
// files", "File access denied", "Disk full", else "I/O error <code>".
QString IoErrorText(int errorCode, bool folderExists = true);

// Writes a file as a whole: it is replaced only when everything was written,
// so a failure leaves any earlier file as it was.
class AtomicFileWriter final {
public:
    explicit AtomicFileWriter(const QString& fileName);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // False when the file could not be opened; Error() tells why.
    bool Open();
    // Appends bytes; after the first failure nothing more is written.
    void Write(const char* data, qint64 size);
    // Replaces the file; false on failure.
    bool Commit();
    const QString& Error() const { return error_; }

private:
    void Fail();

    QString fileName_;
    QSaveFile* file_;
    QString error_;
};

}  // namespace oryx::doc
