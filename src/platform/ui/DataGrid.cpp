#include "platform/ui/DataGrid.h"

#include "platform/data/ClientDataSet.h"
#include "platform/ui/Guarded.h"

#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QStyledItemDelegate>

#include <algorithm>

namespace fat::ui {
namespace {

// Draws a cell's own text colour also when the cell is selected.
class ColourDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        const QVariant foreground = index.data(Qt::ForegroundRole);
        if (foreground.canConvert<QBrush>()) option->palette.setBrush(QPalette::HighlightedText, foreground.value<QBrush>());
    }
};

// Room the header leaves around a title.
constexpr int TitleMargin = 12;

} // namespace

DataGrid::DataGrid(QWidget* parent) : QTableView(parent), model_(new DataGridModel(this)) {
    setModel(model_);
    setItemDelegate(new ColourDelegate(this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setWordWrap(false);
    setTextElideMode(Qt::ElideRight);
    verticalHeader()->hide();
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setMinimumSectionSize(4); // narrow columns keep the width they are given
    applyRowHeight();

    connect(model_, &DataGridModel::currentRowChanged, this, &DataGrid::followDataSet);
    connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        if (!widthsComplete_) applyWidths();
    });
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { followView(current); });
    connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) { model_->toggle(index); });
}

void DataGrid::setDataSet(data::ClientDataSet* dataSet) {
    model_->setDataSet(dataSet);
    applyWidths();
}

void DataGrid::setColumns(std::vector<DataGridColumn> columns) {
    model_->setColumns(std::move(columns));
    applyWidths();
}

int DataGrid::columnWidth(int column) const {
    const auto& columns = model_->columns();
    if (column < 0 || column >= static_cast<int>(columns.size())) return 0;
    if (columns[static_cast<std::size_t>(column)].width > 0) return columns[static_cast<std::size_t>(column)].width;
    const data::Field* field = model_->fieldOf(column);
    const int characters = field ? field->displayWidth() : 10;
    const int text = characters * fontMetrics().horizontalAdvance(QLatin1Char('0')) + 4;
    const QString title = model_->headerData(column, Qt::Horizontal).toString();
    const int titleWidth = QFontMetrics(horizontalHeader()->font()).horizontalAdvance(title) + TitleMargin;
    return std::max(text, titleWidth);
}

void DataGrid::applyWidths() {
    widthsComplete_ = true;
    for (int c = 0; c < model_->columnCount(); ++c) {
        if (model_->columns()[static_cast<std::size_t>(c)].width <= 0 && !model_->fieldOf(c)) widthsComplete_ = false;
        horizontalHeader()->resizeSection(c, columnWidth(c));
    }
}

void DataGrid::setRowHeight(int pixels) {
    rowHeight_ = std::max(pixels, 0);
    applyRowHeight();
}

void DataGrid::setTitleHeight(int pixels) {
    if (pixels > 0) {
        horizontalHeader()->setFixedHeight(pixels);
    } else {
        horizontalHeader()->setMinimumHeight(0);
        horizontalHeader()->setMaximumHeight(QWIDGETSIZE_MAX);
    }
    updateGeometries(); // the header and the viewport take their new places at once
}

void DataGrid::setAlternateRowColour(const QColor& colour) {
    if (colour.isValid()) {
        QPalette p = palette();
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            p.setColor(group, QPalette::AlternateBase, colour);
        setPalette(p);
    }
    setAlternatingRowColors(colour.isValid());
}

void DataGrid::applyRowHeight() {
    const int height = rowHeight_ > 0 ? rowHeight_ : fontMetrics().height() + 6;
    verticalHeader()->setMinimumSectionSize(height);
    verticalHeader()->setDefaultSectionSize(height);
}

void DataGrid::changeEvent(QEvent* event) {
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        applyRowHeight();
        applyWidths();
    }
}

void DataGrid::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier && model_->isCheckBox(currentIndex())) {
        model_->toggle(currentIndex());
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void DataGrid::keyReleaseEvent(QKeyEvent* event) {
    if (!event->isAutoRepeat() && onKeyUp) Guarded([&] { onKeyUp(*event); });
    QTableView::keyReleaseEvent(event);
}

void DataGrid::followDataSet(int row) {
    following_ = true;
    if (row < 0 || row >= model_->rowCount()) {
        selectionModel()->clear();
    } else {
        const QModelIndex index = model_->index(row, std::clamp(column_, 0, std::max(model_->columnCount() - 1, 0)));
        setCurrentIndex(index);
        scrollTo(index);
    }
    following_ = false;
}

void DataGrid::followView(const QModelIndex& current) {
    if (current.isValid()) column_ = current.column();
    data::ClientDataSet* ds = model_->dataSet();
    if (following_ || !current.isValid() || !ds || !ds->active() || ds->controlsDisabled()) return;
    const int recNo = current.row() + 1;
    if (recNo > ds->recordCount() || ds->recNo() == recNo) return;
    Guarded([&] { ds->setRecNo(recNo); });
}

} // namespace fat::ui
