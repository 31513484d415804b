#include "platform/data/ClientDataSet.h"

#include <algorithm>

namespace fat::data {

void ClientDataSet::enableControls() {
    if (disableCount_ == 0) return;
    if (--disableCount_ == 0) notify(DataEvent::DataSetChanged);
}

void ClientDataSet::addObserver(DataSetObserver* observer) {
    if (observer && std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
        observers_.push_back(observer);
}

void ClientDataSet::removeObserver(DataSetObserver* observer) {
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

void ClientDataSet::notify(DataEvent event, const Field* field) {
    if (disableCount_ > 0 || observers_.empty()) return;
    // An observer may remove itself (or another) while being told.
    const std::vector<DataSetObserver*> observers = observers_;
    for (DataSetObserver* o : observers)
        if (std::find(observers_.begin(), observers_.end(), o) != observers_.end()) o->dataSetEvent(*this, event, field);
}

} // namespace fat::data
