#pragma once

namespace fat::data {

class ClientDataSet;
class Field;

enum class DataEvent {
    DataSetChanged, // rows, their order or the whole content changed: show everything again
    RecordChanged,  // a value of the current record changed (field given)
    Scrolled,       // another record became current
    StateChanged,   // the state (inactive, browse, edit, insert) changed
};

// Something that shows a dataset (a grid, a bound edit box). Nothing is notified while the
// dataset's display updates are suspended; a DataSetChanged follows when they resume.
class DataSetObserver {
public:
    virtual ~DataSetObserver() = default;
    virtual void dataSetEvent(ClientDataSet& dataSet, DataEvent event, const Field* field) = 0;
};

} // namespace fat::data
