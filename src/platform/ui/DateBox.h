#pragma once
#include "platform/core/DateTime.h"

#include <QWidget>

class QCalendarWidget;
class QLineEdit;
class QToolButton;

namespace fat::ui {

// A date box that may be empty: a one-line edit holding a date in the short date format, and a
// button beside it that opens a calendar. An empty box means no date (day 0).
class DateBox : public QWidget {
    Q_OBJECT
public:
    explicit DateBox(QWidget* parent = nullptr);

    // 0 for an empty (or blank) box; raises ConversionError naming the text when it holds no date.
    TDateTime date() const;
    // Shows the day of the value (0 empties the box).
    void setDate(TDateTime value);
    void clear();
    bool isEmpty() const;

    QLineEdit* edit() const { return edit_; }
    QToolButton* button() const { return button_; }
    // Opens the calendar below the box on the box's date (today when it has none); a click on a
    // day puts that day into the box and closes it.
    void showCalendar();
    QCalendarWidget* calendar() const { return calendar_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* edit_;
    QToolButton* button_;
    QCalendarWidget* calendar_ = nullptr;
};

} // namespace fat::ui
