#pragma once
#include "platform/data/DataSetObserver.h"
#include "platform/data/Delta.h"
#include "platform/data/Field.h"
#include "platform/data/FieldNames.h"
#include "platform/data/FilterExpression.h"
#include "platform/data/KeyIndex.h"
#include "platform/data/OrderTree.h"
#include "platform/data/Row.h"
#include "platform/data/RowOrder.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace fat::data {

class LookupIndex;
class PrefixIndex;
class Provider;

enum class DataSetState { Inactive, Browse, Edit, Insert };

struct LocateOptions {
    bool caseInsensitive = false; // texts compared without regard to case (WIN1252 letters)
    // A text value matches every text that starts with it. Costs the rows whose key starts
    // like the one wanted (an exact locate costs O(log n)).
    bool partialKey = false;
};

// An in-memory table: rows fed by a provider (or created empty from fields defined in code),
// walked with a cursor, edited row by row, and applied back through the provider as a log of
// the changes made since it was opened or last merged.
//
// The walk shows the rows that pass the filter and the master range, ordered by the index field
// names (insertion order without them). Locate, equality filters and master ranges find their
// rows through hash indexes kept up to date as rows change, so none of them walks all rows; the
// walk itself is a balanced tree, so moving, counting and positions cost O(log n).
//
// Field names are matched without regard to case. Errors are fat::Error with a text that names
// the dataset, field or value concerned.
class ClientDataSet {
public:
    explicit ClientDataSet(std::string name = {});
    ~ClientDataSet();
    ClientDataSet(const ClientDataSet&) = delete;
    ClientDataSet& operator=(const ClientDataSet&) = delete;

    const std::string& name() const { return name_; }

    // --- Fields ---------------------------------------------------------------------------
    // Fields defined in code, while the dataset is closed. When data fields are defined, opening
    // from a provider keeps only those columns (a missing one is an error naming it); without
    // them every column becomes a field, followed by the calculated fields defined.
    Field& addField(FieldDef def);
    void clearFields();

    int fieldCount() const { return static_cast<int>(fields_.size()); }
    const std::vector<Field*>& fields() const { return fields_; }
    Field& field(int index) const;
    // Raises Error naming the field when there is none of that name.
    // Names are taken as views: rules look fields up by literal names for every value they touch.
    Field& fieldByName(std::string_view name) const;
    Field* findField(std::string_view name) const;

    // Off (the default): a text longer than its field is cut to the field's size when set. On:
    // setting such a text in a field of the provider's data raises ConversionError instead, for
    // datasets whose rows go to a table that must not receive a cut text.
    void setRejectLongTexts(bool on) { rejectLongTexts_ = on; }
    bool rejectLongTexts() const { return rejectLongTexts_; }

    // --- Life -----------------------------------------------------------------------------
    void setProvider(Provider* provider); // not owned
    Provider* provider() const { return provider_; }
    // Fetches every row from the provider; does nothing when already open.
    void open();
    // Discards rows and pending changes; fields made from the provider's columns go too.
    void close();
    bool active() const { return state_ != DataSetState::Inactive; }
    void setActive(bool active) { active ? open() : close(); }
    // Opens empty with the fields defined in code.
    void createDataSet();
    // Deletes every row without logging the deletions.
    void emptyDataSet();
    DataSetState state() const { return state_; }

    // --- Navigation (moving while in edit or insert state posts first) ---------------------
    void first();
    void next();
    void prior();
    void last();
    bool eof() const { return eof_; }
    bool bof() const { return bof_; }
    // Rows visible under the filter and the master range.
    int recordCount() const;
    bool isEmpty() const;
    // 1-based position of the current row in the walk; 0 when there is none (also while
    // appending).
    int recNo() const;
    void setRecNo(int recNo);
    // A value of the visible row at a 0-based position, without moving (for grids).
    const Value& valueAt(int position, int fieldIndex) const;

    // --- Editing --------------------------------------------------------------------------
    // A new row; in a detail its link fields take the master's values. Posted, it takes its
    // place by the index order.
    void append();
    void edit();
    // Checks required fields ("Field 'X' must have a value") and stores the row.
    void post();
    void cancel();
    // Removes the current row; the next visible row becomes current.
    void deleteRecord();

    // --- Locate ---------------------------------------------------------------------------
    // Moves to the first visible row whose fields ("NUMNF;DIAS") hold the values given; false
    // (and no move) when there is none. Values are converted to their fields' types.
    bool locate(const std::string& fieldNames, const std::vector<Value>& values, LocateOptions options = {});
    bool locate(const std::string& fieldNames, const Value& value, LocateOptions options = {});

    // --- Filter ---------------------------------------------------------------------------
    // Raises Error for a text that cannot be parsed or (once open) names an unknown field;
    // the filter in force is then unchanged. A new filter in force moves to the first row.
    void setFilter(const std::string& text);
    const std::string& filter() const { return filterText_; }
    void setFiltered(bool filtered);
    bool filtered() const { return filtered_; }

    // --- Order ----------------------------------------------------------------------------
    // "DOCTO_SA;SERIE_SA;ITEM_SA": ascending by these fields, ties in insertion order; empty
    // for insertion order.
    void setIndexFieldNames(const std::string& names);
    const std::string& indexFieldNames() const { return indexFieldNames_; }

    // --- Master/detail --------------------------------------------------------------------
    // The detail shows only the rows whose first index fields equal the master fields of the
    // master's current row (none while that row has a null link value), and follows the master
    // when its current row or those values change, also while display updates are suspended.
    // Without a master, master fields or an open master every row shows.
    void setMasterSource(ClientDataSet* master); // not owned
    ClientDataSet* masterSource() const { return master_; }
    void setMasterFields(const std::string& names);
    const std::string& masterFields() const { return masterFieldNames_; }

    // --- Display updates ------------------------------------------------------------------
    // Nested: observers hear nothing until the last enableControls, which notifies a full
    // refresh.
    void disableControls() { ++disableCount_; }
    void enableControls();
    bool controlsDisabled() const { return disableCount_ > 0; }
    void addObserver(DataSetObserver* observer);
    void removeObserver(DataSetObserver* observer);

    // --- Change log -----------------------------------------------------------------------
    int changeCount() const { return static_cast<int>(log_.size()); }
    // The pending changes, in the order in which they were made.
    Delta pendingChanges() const;
    // Undoes every pending change.
    void cancelUpdates();
    // Takes the current rows as stored; the log is emptied.
    void mergeChangeLog();
    // Hands the pending changes to the provider (see Provider::applyUpdates; maxErrors 0
    // tolerates none, a negative value any number). Applied changes leave the log; the others
    // stay. Returns the count of failed rows that were tolerated. The changes are made one at a
    // time as the provider reaches them: an update-error handler must not change this dataset.
    int applyUpdates(int maxErrors);

private:
    friend class Field;

    struct ChangeEntry {
        ChangeKind kind;
        Row* row;
        std::unique_ptr<Row> owned; // a deleted row, kept for the apply and for cancelUpdates
    };
    struct Range {
        bool active = false;
        bool empty = false; // a null or unconvertible master value: no row matches
        std::vector<KeyField> fields;
        std::vector<Value> values;
        friend bool operator==(const Range&, const Range&) = default;
    };

    std::string name_;
    Provider* provider_ = nullptr;
    DataSetState state_ = DataSetState::Inactive;
    bool rejectLongTexts_ = false;

    // Fields: those defined in code persist; those made from columns live while open.
    std::vector<std::unique_ptr<Field>> definedFields_;
    std::vector<std::unique_ptr<Field>> columnFields_;
    std::vector<Field*> fields_;
    std::unordered_map<std::string, Field*, FieldNameHash, FieldNameEqual> fieldsByName_; // upper-case names

    // Rows.
    std::vector<std::unique_ptr<Row>> rows_; // live rows, in no particular order
    std::uint64_t nextSeq_ = 1;
    RowOrder order_;
    OrderTree all_;  // every live row in walk order
    OrderTree view_; // the visible rows, while a filter or a range restricts them
    bool restricted_ = false;
    std::map<std::string, std::unique_ptr<KeyIndex>> lookups_; // LookupIndex or PrefixIndex

    // Cursor and edit buffer.
    Row* current_ = nullptr;
    bool bof_ = true;
    bool eof_ = true;
    std::vector<Value> buffer_;

    std::string indexFieldNames_;
    std::string filterText_;
    bool filtered_ = false;
    std::unique_ptr<FilterExpression> filter_;

    ClientDataSet* master_ = nullptr;
    std::string masterFieldNames_;
    std::vector<ClientDataSet*> details_;
    Range range_;

    std::map<std::uint64_t, ChangeEntry> log_; // by the order in which changes were made
    std::uint64_t nextChangeId_ = 1;

    std::vector<DataSetObserver*> observers_;
    int disableCount_ = 0;

    // ClientDataSet.cpp: fields, open and close.
    std::string describe() const;
    [[noreturn]] void fail(const std::string& message) const;
    void checkActive() const;
    void checkBrowseMode();
    void setFieldList(std::vector<Field*> fields);
    std::vector<int> buildFields(const std::vector<FieldDef>& columns);
    void loadRows(std::vector<std::vector<Value>>& rows, const std::vector<int>& columnOfField);
    void activate();
    void clearRows();
    const Value& currentValue(int index) const;
    void setFieldValue(Field& field, Value value);
    std::vector<Field*> resolveFields(const std::string& names) const;
    static KeyField keyFieldOf(const Field& field);

    // DataSetNavigation.cpp
    const OrderTree& view() const { return restricted_ ? view_ : all_; }
    void setCurrent(Row* row, bool bof, bool eof);
    void moveToFirst();
    void keepOrFirst(Row* preferred);

    // DataSetEditing.cpp
    void checkRequired() const;
    bool dataDiffers(const std::vector<Value>& a, const std::vector<Value>& b) const;
    void addLive(std::unique_ptr<Row> row);
    std::unique_ptr<Row> removeLive(Row* row);
    void addChange(ChangeKind kind, Row* row, std::unique_ptr<Row> owned = {});
    void removeChange(Row* row);

    // DataSetView.cpp: order, filter and the visible rows.
    void applyIndex();
    void bindFilter(FilterExpression& filter) const;
    bool filtering() const { return filtered_ && filter_ && filter_->bound(); }
    bool rowVisible(const Row& row) const;
    void indexRow(Row* row);
    void unindexRow(Row* row);
    void replaceValues(Row* row, std::vector<Value> values);
    void rebuildView();
    LookupIndex& lookupFor(const std::vector<KeyField>& fields, bool caseInsensitive);
    PrefixIndex& prefixIndexFor(const std::vector<KeyField>& fields, bool caseInsensitive);
    KeyIndex& indexFor(char kind, const std::vector<KeyField>& fields, bool caseInsensitive);

    // DataSetMasterDetail.cpp
    Range computeRange() const;
    void refreshRange(bool toFirst);
    void masterChanged();
    // Whether a field of the master is one of this detail's master fields.
    bool linksOn(const Field& masterField) const;
    void notifyDetails();

    // DataSetChangeLog.cpp
    std::vector<std::size_t> dataFieldIndexes() const;
    std::vector<FieldDef> dataFieldDefs(const std::vector<std::size_t>& data) const;
    static RowChange changeOf(const ChangeEntry& entry, const std::vector<std::size_t>& data);
    void mergeEntry(std::uint64_t changeId);

    // DataSetObservers.cpp
    void notify(DataEvent event, const Field* field = nullptr);
};

} // namespace fat::data
