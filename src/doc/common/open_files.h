#pragma once

#include <QString>

class QWidget;

namespace oryx::doc {

// Marks a file as open in a window for as long as the mark lives, so that no
// save of the program replaces it.
class OpenFileMark final {
public:
    explicit OpenFileMark(const QString& fileName);
    ~OpenFileMark();
    OpenFileMark(const OpenFileMark&) = delete;
    OpenFileMark& operator=(const OpenFileMark&) = delete;

private:
    QString fileName_;
};

// True when fileName is a file some window has open: the same file, by the
// file system's identity, so a link or another path to it counts too.
bool IsOpenFile(const QString& fileName);

// The save dialog for every file the program writes: a file open in a window
// is refused with an error box and the dialog asked again. Empty on cancel.
QString ChooseSaveFile(QWidget* parent, const QString& title, const QString& filter, const QString& defaultSuffix,
                       const QString& proposedName);

}  // namespace oryx::doc
