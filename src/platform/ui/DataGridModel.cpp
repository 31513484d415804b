#include "platform/ui/DataGridModel.h"

#include "platform/core/Errors.h"
#include "platform/core/UserMessages.h"
#include "platform/data/ClientDataSet.h"
#include "platform/data/DataSetGuards.h"
#include "platform/ui/QtText.h"

#include <QBrush>

namespace fat::ui {
namespace {

// Rows of cells kept at most while the dataset can be read (the cache starts again beyond).
constexpr std::size_t MaxCachedRows = 4096;

bool IsNumeric(DataType type) {
    switch (type) {
    case DataType::SmallInt:
    case DataType::Integer:
    case DataType::LargeInt:
    case DataType::Float:
    case DataType::Currency:
    case DataType::Decimal:
        return true;
    default:
        return false;
    }
}

} // namespace

DataGridModel::DataGridModel(QObject* parent) : QAbstractTableModel(parent) {}

DataGridModel::~DataGridModel() {
    if (dataSet_) dataSet_->removeObserver(this);
}

void DataGridModel::setDataSet(data::ClientDataSet* dataSet) {
    if (dataSet == dataSet_) return;
    if (dataSet_) dataSet_->removeObserver(this);
    dataSet_ = dataSet;
    if (dataSet_) dataSet_->addObserver(this);
    reset();
}

void DataGridModel::setColumns(std::vector<DataGridColumn> columns) {
    beginResetModel();
    columns_ = std::move(columns);
    cells_.clear();
    rows_ = readable() ? dataSet_->recordCount() : 0;
    endResetModel();
    emit currentRowChanged(currentRow());
}

void DataGridModel::setTextColour(TextColour textColour) {
    textColour_ = std::move(textColour);
    reset();
}

data::Field* DataGridModel::fieldOf(int column) const {
    if (!dataSet_ || column < 0 || column >= static_cast<int>(columns_.size())) return nullptr;
    return dataSet_->findField(columns_[static_cast<std::size_t>(column)].fieldName);
}

void DataGridModel::refresh() { reset(); }

bool DataGridModel::readable() const { return dataSet_ && dataSet_->active() && !dataSet_->controlsDisabled(); }

int DataGridModel::currentRow() const { return readable() ? dataSet_->recNo() - 1 : -1; }

void DataGridModel::reset() {
    beginResetModel();
    cells_.clear();
    rows_ = readable() ? dataSet_->recordCount() : 0;
    endResetModel();
    emit currentRowChanged(currentRow());
}

void DataGridModel::rowChanged(int row) {
    if (row < 0) return;
    cells_.erase(row);
    if (row < rows_ && !columns_.empty()) emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

void DataGridModel::dataSetEvent(data::ClientDataSet&, data::DataEvent event, const data::Field*) {
    switch (event) {
    case data::DataEvent::DataSetChanged:
        reset();
        break;
    case data::DataEvent::RecordChanged:
    case data::DataEvent::StateChanged:
        rowChanged(currentRow());
        break;
    case data::DataEvent::Scrolled:
        emit currentRowChanged(currentRow());
        break;
    }
}

std::vector<DataGridModel::Cell> DataGridModel::readRow(int row) const {
    std::vector<Cell> cells(columns_.size());
    for (std::size_t c = 0; c < columns_.size(); ++c) {
        const DataGridColumn& column = columns_[c];
        if (const data::Field* field = fieldOf(static_cast<int>(c))) {
            const Value& value = dataSet_->valueAt(row, field->index());
            if (column.checkBox) {
                try {
                    cells[c].checked = !value.isNull() && value == field->comparable(column.checkedValue);
                } catch (const Error&) {
                    cells[c].checked = false; // a checked value the field cannot hold never matches
                }
            } else {
                cells[c].text = ToQString(field->displayText(value));
            }
        }
        if (textColour_) cells[c].colour = textColour_(row, static_cast<int>(c));
    }
    return cells;
}

const std::vector<DataGridModel::Cell>* DataGridModel::cellsOf(int row) const {
    if (row < 0 || row >= rows_) return nullptr;
    if (const auto it = cells_.find(row); it != cells_.end()) return &it->second;
    if (!readable() || row >= dataSet_->recordCount()) return nullptr;
    try {
        std::vector<Cell> cells = readRow(row);
        if (cells_.size() >= MaxCachedRows) cells_.clear();
        return &cells_.emplace(row, std::move(cells)).first->second;
    } catch (const std::exception&) {
        return nullptr; // shown empty; nothing escapes into the painting
    }
}

int DataGridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int DataGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant DataGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.column() >= columnCount()) return {};
    const DataGridColumn& column = columns_[static_cast<std::size_t>(index.column())];
    if (role == Qt::TextAlignmentRole) {
        if (column.checkBox) return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
        const data::Field* field = fieldOf(index.column());
        const bool right = field && IsNumeric(field->dataType());
        return QVariant::fromValue(Qt::Alignment((right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter));
    }
    if (role != Qt::DisplayRole && role != Qt::ForegroundRole && role != Qt::CheckStateRole) return {};
    const std::vector<Cell>* cells = cellsOf(index.row());
    if (!cells) return {};
    const Cell& cell = (*cells)[static_cast<std::size_t>(index.column())];
    switch (role) {
    case Qt::DisplayRole:
        return column.checkBox ? QVariant() : QVariant(cell.text);
    case Qt::ForegroundRole:
        return cell.colour ? QVariant(QBrush(*cell.colour)) : QVariant();
    default:
        return column.checkBox ? QVariant(cell.checked ? Qt::Checked : Qt::Unchecked) : QVariant();
    }
}

QVariant DataGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= columnCount())
        return QAbstractTableModel::headerData(section, orientation, role);
    const DataGridColumn& column = columns_[static_cast<std::size_t>(section)];
    if (!column.title.empty()) return ToQString(column.title);
    if (const data::Field* field = fieldOf(section)) return ToQString(field->displayLabel());
    return ToQString(column.fieldName);
}

Qt::ItemFlags DataGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    // Check boxes are toggled by the grid (a click anywhere in the cell, Space), not the delegate.
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

bool DataGridModel::isCheckBox(const QModelIndex& index) const {
    return index.isValid() && index.column() < columnCount() && columns_[static_cast<std::size_t>(index.column())].checkBox;
}

bool DataGridModel::toggle(const QModelIndex& index) {
    if (!isCheckBox(index)) return false;
    const bool checked = data(index, Qt::CheckStateRole).toInt() == Qt::Checked;
    return setData(index, checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
}

bool DataGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::CheckStateRole || !index.isValid() || !readable() || index.row() >= dataSet_->recordCount())
        return false;
    const DataGridColumn& column = columns_[static_cast<std::size_t>(index.column())];
    data::Field* field = fieldOf(index.column());
    if (!column.checkBox || !field) return false;
    const bool checked = value.toInt() == Qt::Checked;
    try {
        dataSet_->setRecNo(index.row() + 1);
        dataSet_->edit();
        field->setValue(checked ? column.checkedValue : column.uncheckedValue);
        dataSet_->post();
    } catch (const std::exception& e) {
        data::CancelPendingEdit(*dataSet_);
        ShowException(e);
        return false;
    }
    return true;
}

} // namespace fat::ui
