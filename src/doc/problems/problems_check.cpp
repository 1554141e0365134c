#include "doc/problems/problems_check.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMetaObject>

#include <exception>
#include <new>
#include <optional>

#include "doc/common/text_codec.h"
#include "doc/problems/problem_rows.h"
#include "prov/read_diagnostics.h"

namespace oryx::doc {

namespace {

const QEvent::Type kBeginEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

QString SummaryOf(check::ProblemCounts counts) {
    if (counts.errors == 0 && counts.warnings == 0) return {};
    const auto counted = [](std::size_t n, const char* noun) {
        return QStringLiteral("%1 %2%3")
            .arg(n)
            .arg(QLatin1String(noun))
            .arg(n == 1 ? QLatin1String() : QLatin1String("s"));
    };
    return counted(counts.errors, "error") + QStringLiteral(", ") + counted(counts.warnings, "warning");
}

}  // namespace

ProblemsCheck::ProblemsCheck(QObject* parent) : QObject(parent) {}

ProblemsCheck::~ProblemsCheck() { Stop(); }

void ProblemsCheck::Stop() {
    ++generation_;  // what the stopped check sends on its way is dropped
    pending_ = false;
    if (worker_.joinable()) {
        worker_.request_stop();
        worker_.join();
    }
    made_.reset();
    madeRows_.reset();
    ready_ = false;
    counted_ = false;
    problems_ = {};
    rows_.reset();
    summary_.clear();
    diagnostics_.reset();
    rulesFile_.clear();
    store_ = nullptr;
}

void ProblemsCheck::Start(const prov::ComponentStore& store, std::unique_ptr<prov::ReadDiagnostics> diagnostics,
                          const QString& rulesFile) {
    Stop();
    store_ = &store;
    diagnostics_ = std::move(diagnostics);
    rulesFile_ = rulesFile;
    pending_ = true;
    // Behind the events posted before it at normal priority: a window
    // shown right after it paints before the check competes for the cores.
    QCoreApplication::postEvent(this, new QEvent(kBeginEvent), Qt::LowEventPriority);
}

void ProblemsCheck::customEvent(QEvent* event) {
    if (event->type() == kBeginEvent && pending_) Begin();
}

void ProblemsCheck::Begin() {
    pending_ = false;
    const unsigned generation = generation_;
    worker_ = std::jthread([this, &store = *store_, &diagnostics = *diagnostics_, generation,
                            rules = FileNameBytes(rulesFile_)](std::stop_token stop) {
        auto made = std::make_unique<check::FileProblems>();
        try {
            // The status bar's counts go first: the rest is wanted later, if at all.
            const auto counted = [this, generation](check::ProblemCounts counts) {
                QMetaObject::invokeMethod(
                    this,
                    [this, generation, summary = SummaryOf(counts)] {
                        if (generation == generation_ && !ready_) TakeSummary(summary);
                    },
                    Qt::QueuedConnection);
            };
            std::optional<check::FileProblems> found =
                check::CheckStoreProblems(store, diagnostics, rules, stop, counted);
            if (!found) return;  // stopped: nobody waits for it
            *made = std::move(*found);
        } catch (const std::exception& e) {
            check::Finding finding;
            finding.severity = check::Severity::Error;
            finding.check = "file";
            finding.message = e.what();
            made->findings = {finding};
        }
        try {
            madeRows_ = ProblemRows(*made);
        } catch (const std::bad_alloc&) {
            madeRows_.reset();  // made when the list is shown, if at all
        }
        made_ = std::move(made);
        // The thread is joined before this object goes, so `this` lives.
        QMetaObject::invokeMethod(
            this,
            [this, generation] {
                if (generation == generation_ && !ready_) Adopt();
            },
            Qt::QueuedConnection);
    });
}

void ProblemsCheck::Adopt() {
    if (worker_.joinable()) worker_.join();
    if (made_) problems_ = std::move(*made_);
    made_.reset();
    rows_ = std::move(madeRows_);
    madeRows_.reset();
    ready_ = true;
    TakeSummary(SummaryOf(check::CountProblems(problems_.findings)));
    emit Finished();
}

void ProblemsCheck::TakeSummary(QString summary) {
    // Counts told before a check that then failed are told again.
    if (counted_ && summary == summary_) return;
    counted_ = true;
    summary_ = std::move(summary);
    emit Counted();
}

const check::FileProblems& ProblemsCheck::Problems() {
    if (pending_) Begin();
    if (!ready_ && worker_.joinable()) Adopt();
    return problems_;
}

reports::ReportRows ProblemsCheck::TakeRows() {
    const check::FileProblems& problems = Problems();
    if (!rows_) return ProblemRows(problems);
    reports::ReportRows rows = std::move(*rows_);
    rows_.reset();
    return rows;
}

long ProblemsCheck::AttributeIndex(std::size_t row) {
    const check::FileProblems& problems = Problems();
    if (!store_ || !diagnostics_ || row >= problems.findings.size()) return -1;
    return check::FindingAttributeIndex(problems, row, *store_, *diagnostics_);
}

QString ProblemsCheck::Summary() const { return summary_; }

}  // namespace oryx::doc
