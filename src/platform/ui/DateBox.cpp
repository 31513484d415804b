#include "platform/ui/DateBox.h"

#include "platform/core/Errors.h"
#include "platform/core/Format.h"
#include "platform/ui/QtText.h"

#include <QCalendarWidget>
#include <QEvent>
#include <QLineEdit>
#include <QPainter>
#include <QToolButton>

namespace fat::ui {
namespace {

constexpr int ButtonWidth = 21;

QIcon CalendarGlyph() {
    QPixmap pixmap(12, 12);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QColor(64, 64, 64));
    painter.setBrush(Qt::white);
    painter.drawRect(0, 1, 11, 10);
    painter.fillRect(1, 2, 10, 3, QColor(128, 0, 0));
    for (int y = 6; y <= 9; y += 3)
        for (int x = 2; x <= 9; x += 3) painter.drawPoint(x, y);
    return QIcon(pixmap);
}

QDate ToQDate(TDateTime value) {
    const DateParts p = DecodeDateTime(value);
    return QDate(p.year, p.month, p.day);
}

} // namespace

DateBox::DateBox(QWidget* parent) : QWidget(parent), edit_(new QLineEdit(this)), button_(new QToolButton(this)) {
    edit_->setMaxLength(10);
    button_->setIcon(CalendarGlyph());
    button_->setFocusPolicy(Qt::NoFocus);
    button_->setToolTip(QString::fromUtf8("Calendário"));
    setFocusProxy(edit_);
    edit_->installEventFilter(this);
    connect(button_, &QToolButton::clicked, this, &DateBox::showCalendar);
}

void DateBox::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    edit_->setGeometry(0, 0, std::max(width() - ButtonWidth, 0), height());
    button_->setGeometry(std::max(width() - ButtonWidth, 0), 0, ButtonWidth, height());
}

bool DateBox::isEmpty() const { return edit_->text().trimmed().isEmpty(); }

TDateTime DateBox::date() const {
    if (isEmpty()) return 0;
    return StrToDate(FromQString(edit_->text()));
}

void DateBox::setDate(TDateTime value) { edit_->setText(value > 0 ? ToQString(DateToStr(DateOf(value))) : QString()); }

void DateBox::clear() { edit_->clear(); }

bool DateBox::eventFilter(QObject* watched, QEvent* event) {
    // Leaving the box writes a date typed in another form ("5/3/26") in the short date format;
    // a text that is no date stays for the user to see (reading it raises the error).
    if (watched == edit_ && event->type() == QEvent::FocusOut && !isEmpty()) {
        try {
            setDate(date());
        } catch (const ConversionError&) {
        }
    }
    return QWidget::eventFilter(watched, event);
}

void DateBox::showCalendar() {
    if (!calendar_) {
        calendar_ = new QCalendarWidget(this);
        calendar_->setWindowFlags(Qt::Popup);
        calendar_->setGridVisible(true);
        connect(calendar_, &QCalendarWidget::clicked, this, [this](const QDate& day) {
            setDate(EncodeDate(day.year(), day.month(), day.day()));
            calendar_->hide();
        });
    }
    TDateTime shown = Today();
    try {
        if (!isEmpty()) shown = date();
    } catch (const ConversionError&) {
    }
    calendar_->setSelectedDate(ToQDate(shown));
    calendar_->adjustSize();
    calendar_->move(mapToGlobal(QPoint(0, height())));
    calendar_->show();
}

} // namespace fat::ui
