#include "db/DemoInvoice.h"

namespace fat::db {

int DemoItem::quantity() const {
    int total = 0;
    for (const auto& row : grid) total += row.quantity;
    return total;
}

int DemoInvoice::pairs() const {
    int total = 0;
    for (const auto& order : orders)
        for (const auto& item : order.items)
            if (item.billed) total += item.quantity();
    return total;
}

} // namespace fat::db
