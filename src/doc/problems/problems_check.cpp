#include "doc/problems/problems_check.h"

#include <QMetaObject>
#include <QPointer>

#include <exception>

#include "doc/common/text_codec.h"

namespace oryx::doc {

ProblemsCheck::ProblemsCheck(QObject* parent) : QObject(parent) {}

ProblemsCheck::~ProblemsCheck() { Join(); }

void ProblemsCheck::Join() {
    if (worker_.joinable()) worker_.join();
}

void ProblemsCheck::Start(const QString& fileName, const QString& rulesFile) {
    Join();
    made_.reset();
    ready_ = false;
    problems_ = {};
    const unsigned generation = ++generation_;
    worker_ = std::thread([this, generation, file = FileNameBytes(fileName), rules = FileNameBytes(rulesFile)] {
        auto made = std::make_unique<check::FileProblems>();
        try {
            *made = check::CheckFileProblems(file, rules);
        } catch (const std::exception& e) {
            check::Finding finding;
            finding.severity = check::Severity::Error;
            finding.check = "file";
            finding.message = e.what();
            made->findings = {finding};
            made->attributeIndexes = {-1};
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
    Join();
    if (made_) problems_ = std::move(*made_);
    made_.reset();
    ready_ = true;
    emit Finished();
}

const check::FileProblems& ProblemsCheck::Problems() {
    if (!ready_ && worker_.joinable()) Adopt();
    return problems_;
}

QString ProblemsCheck::Summary() const {
    if (!ready_) return {};
    int errors = 0, warnings = 0;
    for (const check::Finding& finding : problems_.findings) {
        if (finding.severity == check::Severity::Error) ++errors;
        if (finding.severity == check::Severity::Warning) ++warnings;
    }
    if (errors == 0 && warnings == 0) return {};
    const auto counted = [](int n, const char* noun) {
        return QStringLiteral("%1 %2%3")
            .arg(n)
            .arg(QLatin1String(noun))
            .arg(n == 1 ? QLatin1String() : QLatin1String("s"));
    };
    return counted(errors, "error") + QStringLiteral(", ") + counted(warnings, "warning");
}

}  // namespace oryx::doc
