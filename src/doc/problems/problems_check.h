#pragma once

#include <QObject>
#include <QString>

#include <memory>
#include <optional>
#include <thread>

#include "check/file_problems.h"
#include "reports/report_rows.h"

namespace oryx::prov {
class ComponentStore;
class ReadDiagnostics;
}  // namespace oryx::prov

namespace oryx::doc {

// The findings of a document window's file, worked out in the background on
// the window's store so that the window opens as fast without them: the
// check begins once the events waiting, the window's first paint among them,
// are handled, or when its findings are asked for.
// Counted() comes on the window's thread as soon as the summary is known,
// Finished() when the findings are ready; each once per check (Counted
// again only if the check fails after it).
class ProblemsCheck final : public QObject {
    Q_OBJECT

public:
    explicit ProblemsCheck(QObject* parent = nullptr);
    ~ProblemsCheck() override;

    // Checks `store`, just read with `diagnostics`, with the rules of
    // `rulesFile`, beginning as said above; a check still running is stopped
    // first and its findings dropped. The store must not change nor go until
    // Stop().
    void Start(const prov::ComponentStore& store, std::unique_ptr<prov::ReadDiagnostics> diagnostics,
               const QString& rulesFile);
    // Stops a running check, which gives up soon, and waits for it; the
    // findings are unknown until the next Start. Safe to call at any time.
    void Stop();
    // The findings; waits for the background check when it is not done.
    const check::FileProblems& Problems();
    // The Problems list's rows of the findings, as ProblemRows makes them;
    // waits as Problems() does. Those of a check are made beside it, so the
    // first call after it takes them without the wait of making them.
    reports::ReportRows TakeRows();
    // The place of finding `row`'s line among its component's own attribute
    // lines; -1 when it is none of them. Waits as Problems() does.
    long AttributeIndex(std::size_t row);
    bool Ready() const { return ready_; }
    // "3 errors, 5 warnings"; empty when there is neither (or not yet known).
    QString Summary() const;

signals:
    void Counted();
    void Finished();

protected:
    void customEvent(QEvent* event) override;

private:
    void Begin();
    void Adopt();
    // The summary of a check; nothing when it is known already.
    void TakeSummary(QString summary);

    // What the running check reads; the findings' lines are looked up in
    // them once it is done.
    const prov::ComponentStore* store_ = nullptr;
    std::unique_ptr<prov::ReadDiagnostics> diagnostics_;
    QString rulesFile_;
    bool pending_ = false;  // started, not yet begun
    std::jthread worker_;
    std::unique_ptr<check::FileProblems> made_;    // read only after joining
    std::optional<reports::ReportRows> madeRows_;  // likewise
    check::FileProblems problems_;
    std::optional<reports::ReportRows> rows_;  // none once taken
    bool ready_ = false;
    bool counted_ = false;  // Counted() sent for this check
    QString summary_;       // counted once, as the status bar asks often
    unsigned generation_ = 0;
};

}  // namespace oryx::doc
