#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>
#include <thread>
#include <vector>

#include "doc/find/found_match.h"

namespace oryx::prov {
class ComponentStore;
}
namespace oryx::search {
class SearchQuery;
}

namespace oryx::doc {

// Searches a component store on a thread of its own and hands the matches to
// this object's thread as they are found: the first at once, the others in
// batches a few times a second, so the window stays responsive however large
// the store and however many the matches. One search at a time: Start and Stop
// cancel the one running and wait the moment it takes to notice. The store
// must stay unchanged while a search runs.
class BackgroundSearch final : public QObject {
    Q_OBJECT

public:
    explicit BackgroundSearch(QObject* parent = nullptr);
    ~BackgroundSearch() override;

    void Start(const prov::ComponentStore& store, const search::SearchQuery& query);
    // Cancels the search running; nothing more comes from it.
    void Stop();
    // Started, and Finished not yet signalled.
    bool Running() const { return job_ != nullptr; }

signals:
    // The next matches in tree order.
    void Found(const std::vector<oryx::doc::FoundMatch>& matches);
    // The whole store was searched; `error` is empty unless the search failed.
    void Finished(const QString& error);

private:
    struct Job;
    void Post(const std::shared_ptr<Job>& job);
    void Deliver(const std::shared_ptr<Job>& job);

    std::shared_ptr<Job> job_;
    std::thread worker_;
    QTimer handOver_;
};

}  // namespace oryx::doc
