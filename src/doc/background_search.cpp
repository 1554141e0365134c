#include "doc/background_search.h"

#include <atomic>
#include <exception>
#include <mutex>

#include "search/search_cursor.h"

namespace oryx::doc {

// What the worker and this object's thread share of one search.
struct BackgroundSearch::Job {
    std::atomic<bool> cancel{false};
    std::mutex mutex;
    std::vector<FoundMatch> found;  // not handed over yet
    bool finished = false;
    bool posted = false;  // a hand-over is on its way
    QString error;
};

BackgroundSearch::BackgroundSearch(QObject* parent) : QObject(parent) {}

BackgroundSearch::~BackgroundSearch() { Stop(); }

void BackgroundSearch::Start(const prov::ComponentStore& store, const search::SearchQuery& query) {
    Stop();
    auto job = std::make_shared<Job>();
    job_ = job;
    worker_ = std::thread([this, job, &store, query] {
        QString error;
        try {
            search::SearchCursor cursor(store, query);
            while (const std::optional<search::SearchHit> hit = cursor.Next(&job->cancel)) {
                const std::lock_guard lock(job->mutex);
                job->found.push_back({hit->node, hit->row, hit->kind == search::SearchHit::Kind::Attribute});
                Post(job);
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

// Called with the job's mutex held. One hand-over at a time: matches found
// while one is on its way go with it, so a search with a million matches
// posts only as many events as this object's thread can take.
void BackgroundSearch::Post(const std::shared_ptr<Job>& job) {
    if (job->posted) return;
    job->posted = true;
    QMetaObject::invokeMethod(this, [this, job] { Deliver(job); }, Qt::QueuedConnection);
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
        job->posted = false;
    }
    if (!found.empty()) emit Found(found);
    if (!finished || job != job_) return;
    worker_.join();
    job_.reset();
    emit Finished(error);
}

void BackgroundSearch::Stop() {
    if (job_) job_->cancel.store(true);
    if (worker_.joinable()) worker_.join();
    job_.reset();
}

}  // namespace oryx::doc
