#pragma once
#include "platform/ui/DataGridColumn.h"
#include "platform/ui/DataGridModel.h"

#include <QColor>
#include <QTableView>

#include <functional>
#include <vector>

class QKeyEvent;

namespace fat::data { class ClientDataSet; }

namespace fat::ui {

// A read-only grid over a client dataset: the columns given, titles and texts from the fields,
// a text colour per cell chosen by a callback (kept also on the selected row), check-box
// columns (a click in the cell or Space toggles them; a click in another column only moves),
// and the dataset's current record as the grid's current row, both ways. Moving in the grid
// moves the dataset only while its display updates are on.
class DataGrid : public QTableView {
    Q_OBJECT
public:
    explicit DataGrid(QWidget* parent = nullptr);

    // Not owned; it must outlive the grid or be replaced (nullptr) before it goes.
    void setDataSet(data::ClientDataSet* dataSet);
    data::ClientDataSet* dataSet() const { return model_->dataSet(); }
    void setColumns(std::vector<DataGridColumn> columns);
    void setTextColour(DataGridModel::TextColour textColour) { model_->setTextColour(std::move(textColour)); }
    DataGridModel* dataModel() const { return model_; }

    // Rows, and the title row, of a fixed height in pixels; 0 (the default) sizes them to the font.
    void setRowHeight(int pixels);
    void setTitleHeight(int pixels);
    // Every other row (the second, the fourth, ...) on this background; an invalid colour (the
    // default) keeps one background for every row.
    void setAlternateRowColour(const QColor& colour);

    // Called when a key is released in the grid (not for auto-repeats); runs guarded.
    std::function<void(QKeyEvent& event)> onKeyUp;

    // The width a column takes: its own, else the field's display width in the grid's font
    // (at least its title's).
    int columnWidth(int column) const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    DataGridModel* model_;
    bool following_ = false;
    int column_ = 0; // the current column, kept across the model's resets
    bool widthsComplete_ = false; // every column found its field when the widths were set
    int rowHeight_ = 0;

    void applyWidths();
    void applyRowHeight();
    void followDataSet(int row);
    void followView(const QModelIndex& current);
};

} // namespace fat::ui
