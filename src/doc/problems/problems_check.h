#pragma once

#include <QObject>
#include <QString>

#include <memory>
#include <thread>

#include "check/file_problems.h"

namespace oryx::doc {

// The findings of a document window's file, worked out in the background so
// that the window opens as fast without them. Finished() comes on the
// window's thread when they are ready.
class ProblemsCheck final : public QObject {
    Q_OBJECT

public:
    explicit ProblemsCheck(QObject* parent = nullptr);
    ~ProblemsCheck() override;

    // Checks the file afresh; what an earlier start was making is dropped.
    void Start(const QString& fileName, const QString& rulesFile);
    // The findings; waits for the background check when it is not done.
    const check::FileProblems& Problems();
    bool Ready() const { return ready_; }
    // "3 errors, 5 warnings"; empty when there is neither (or not yet known).
    QString Summary() const;

signals:
    void Finished();

private:
    void Adopt();
    void Join();

    std::thread worker_;
    std::unique_ptr<check::FileProblems> made_;  // read only after joining
    check::FileProblems problems_;
    bool ready_ = false;
    unsigned generation_ = 0;
};

}  // namespace oryx::doc
