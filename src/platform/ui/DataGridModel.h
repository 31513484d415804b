#pragma once
#include "platform/data/DataSetObserver.h"
#include "platform/ui/DataGridColumn.h"

#include <QAbstractTableModel>
#include <QColor>

#include <functional>
#include <optional>
#include <unordered_map>
#include <vector>

namespace fat::data { class ClientDataSet; class Field; }

namespace fat::ui {

// The rows of a client dataset as a Qt table: one row per visible record, one column per
// DataGridColumn, texts in the fields' display formats.
//
// It follows the dataset's notifications. While the dataset's display updates are suspended it
// hears nothing and does not read the dataset at all (the dataset may be closed, refilled or
// walked meanwhile): it keeps answering the row count and the cell texts it had, and is
// refreshed once the updates resume.
class DataGridModel : public QAbstractTableModel, public data::DataSetObserver {
    Q_OBJECT
public:
    // The text colour of a cell (row, column); nullopt keeps the grid's own.
    using TextColour = std::function<std::optional<QColor>(int row, int column)>;

    explicit DataGridModel(QObject* parent = nullptr);
    ~DataGridModel() override;

    // Not owned; it must outlive the model or be replaced (nullptr) before it goes.
    void setDataSet(data::ClientDataSet* dataSet);
    data::ClientDataSet* dataSet() const { return dataSet_; }
    void setColumns(std::vector<DataGridColumn> columns);
    const std::vector<DataGridColumn>& columns() const { return columns_; }
    void setTextColour(TextColour textColour);
    // The field a column shows; nullptr without a dataset or such a field.
    data::Field* fieldOf(int column) const;
    // Reads everything again (after a change the dataset does not announce, such as a format).
    void refresh();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Writes a check-box cell (Qt::CheckStateRole) into its row of the dataset; an error is
    // shown by the standard error display and the row is left as it was.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    bool isCheckBox(const QModelIndex& index) const;
    bool toggle(const QModelIndex& index);

    void dataSetEvent(data::ClientDataSet& dataSet, data::DataEvent event, const data::Field* field) override;

signals:
    // The dataset's current record moved to this row (-1: none).
    void currentRowChanged(int row);

private:
    struct Cell {
        QString text;
        std::optional<QColor> colour;
        bool checked = false;
    };

    data::ClientDataSet* dataSet_ = nullptr;
    std::vector<DataGridColumn> columns_;
    TextColour textColour_;
    int rows_ = 0;
    // Cells read so far, by row; what the model shows while display updates are suspended.
    mutable std::unordered_map<int, std::vector<Cell>> cells_;

    bool readable() const;
    const std::vector<Cell>* cellsOf(int row) const;
    std::vector<Cell> readRow(int row) const;
    int currentRow() const;
    void reset();
    void rowChanged(int row);
};

} // namespace fat::ui
