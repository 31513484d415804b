#pragma once
// Scope guards over datasets: what a walk or an edit sets up is undone when the scope ends, also
// when an error ends it.
#include "platform/data/ClientDataSet.h"

#include <initializer_list>
#include <string>
#include <vector>

namespace fat::data {

// Cancels a row left in edit or insert state; never raises (it runs while unwinding).
inline void CancelPendingEdit(ClientDataSet& dataSet) noexcept {
    try {
        const auto state = dataSet.state();
        if (state == DataSetState::Edit || state == DataSetState::Insert) dataSet.cancel();
    } catch (...) {
    }
}

// Cancels a row left in edit or insert state when the scope ends, so that no half-written row
// stays.
class PendingEditCancel {
public:
    explicit PendingEditCancel(ClientDataSet& dataSet) : dataSet_(dataSet) {}
    ~PendingEditCancel() { CancelPendingEdit(dataSet_); }
    PendingEditCancel(const PendingEditCancel&) = delete;
    PendingEditCancel& operator=(const PendingEditCancel&) = delete;

private:
    ClientDataSet& dataSet_;
};

// The datasets' display updates stay suspended while it lives (nested suspensions add up).
class ControlsSuspended {
public:
    explicit ControlsSuspended(std::initializer_list<ClientDataSet*> dataSets) : dataSets_(dataSets) {
        for (auto* ds : dataSets_) ds->disableControls();
    }
    ~ControlsSuspended() {
        for (auto* ds : dataSets_) {
            try {
                ds->enableControls();
            } catch (...) {
            }
        }
    }
    ControlsSuspended(const ControlsSuspended&) = delete;
    ControlsSuspended& operator=(const ControlsSuspended&) = delete;

private:
    std::vector<ClientDataSet*> dataSets_;
};

// A walk over the rows with the display updates suspended; at its end, also through an error, a
// half-written row is cancelled and the dataset is back on its first row with its display
// resumed.
class SuspendedWalk {
public:
    explicit SuspendedWalk(ClientDataSet& dataSet) : dataSet_(dataSet) { dataSet_.disableControls(); }
    ~SuspendedWalk() {
        CancelPendingEdit(dataSet_);
        try {
            if (dataSet_.active()) dataSet_.first();
        } catch (...) {
            // The walk's own error is the one reported; the display must come back regardless.
        }
        try {
            dataSet_.enableControls();
        } catch (...) {
        }
    }
    SuspendedWalk(const SuspendedWalk&) = delete;
    SuspendedWalk& operator=(const SuspendedWalk&) = delete;

private:
    ClientDataSet& dataSet_;
};

// Shows only the rows of a filter text while it lives; at its end a row left half-edited is
// cancelled and the filter is switched off.
class TemporaryFilter {
public:
    TemporaryFilter(ClientDataSet& dataSet, const std::string& filter) : dataSet_(dataSet) {
        dataSet_.setFiltered(false);
        dataSet_.setFilter(filter);
        dataSet_.setFiltered(true);
    }
    ~TemporaryFilter() {
        CancelPendingEdit(dataSet_);
        try {
            dataSet_.setFiltered(false);
        } catch (...) {
        }
    }
    TemporaryFilter(const TemporaryFilter&) = delete;
    TemporaryFilter& operator=(const TemporaryFilter&) = delete;

private:
    ClientDataSet& dataSet_;
};

} // namespace fat::data
