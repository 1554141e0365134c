#include "doc/find/background_search.h"

#include <atomic>
#include <exception>
#include <mutex>

#include "search/search_cursor.h"

namespace oryx::doc {
namespace {

// How often the matches found so far are taken over while a search runs.
constexpr int kHandOverMs = 25;

}  // namespace

// What the worker and this object's thread share of one search.
struct BackgroundSearch::Job {
    std::atomic<bool> cancel{false};
    std::mutex mutex;
    std::vector<FoundMatch> found;  // not taken over yet
    bool finished = false;
    QString error;
};

BackgroundSearch::BackgroundSearch(QObject* parent) : QObject(parent) {
    handOver_.setInterval(kHandOverMs);
    connect(&handOver_, &QTimer::timeout, this, [this] {
        if (job_) Deliver(job_);
    });
}

BackgroundSearch::~BackgroundSearch() { Stop(); }

void BackgroundSearch::Start(const prov::ComponentStore& store, const search::SearchQuery& query) {
    Stop();
    auto job = std::make_shared<Job>();
    job_ = job;
    handOver_.start();
    // The first match and the end are handed over at once, the matches
    // between them by the timer: a search with a million matches costs this
    // object's thread a few hand-overs, not one per match.
    worker_ = std::thread([this, job, &store, query] {
        QString error;
        try {
            search::SearchCursor cursor(store, query);
            bool first = true;
            while (const std::optional<search::SearchHit> hit = cursor.Next(&job->cancel)) {
                const std::lock_guard lock(job->mutex);
                job->found.push_back({hit->node, hit->row, hit->kind == search::SearchHit::Kind::Attribute});
                if (first) Post(job);
                first = false;
            }
        } catch (const std::exception& e) {
            error = QString::fromLocal8Bit(e.what());
        }
        if (job->cancel.load()) return;
        const std::lock_guard lock(job->mutex);
        job->finished = true;
        job->error = error.isEmpty() ? error : QStringLiteral("The search failed: ") + error;
        Post(job);
    });
}

void BackgroundSearch::Post(const std::shared_ptr<Job>& job) {
    QMetaObject::invokeMethod(
        this, [this, job] { Deliver(job); }, Qt::QueuedConnection);
}

void BackgroundSearch::Deliver(const std::shared_ptr<Job>& job) {
    if (job != job_) return;  // a search stopped since
    std::vector<FoundMatch> found;
    bool finished = false;
    QString error;
    {
        const std::lock_guard lock(job->mutex);
        found.swap(job->found);
        finished = job->finished;
        error = job->error;
    }
    if (!found.empty()) emit Found(found);
    if (!finished || job != job_) return;
    worker_.join();
    job_.reset();
    handOver_.stop();
    emit Finished(error);
}

void BackgroundSearch::Stop() {
    if (job_) job_->cancel.store(true);
    if (worker_.joinable()) worker_.join();
    job_.reset();
    handOver_.stop();
}

}  // namespace oryx::doc
