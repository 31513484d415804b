#include "platform/data/RowOrder.h"

#include "platform/data/Row.h"
#include "platform/data/ValueCompare.h"

namespace fat::data {

int RowOrder::compare(const Row& a, const Row& b) const {
    if (&a == &b) return 0;
    for (const KeyField& f : fields_) {
        const auto i = static_cast<std::size_t>(f.index);
        const int c = CompareValues(a.values[i], b.values[i], f.type, f.scale);
        if (c != 0) return c;
    }
    return a.seq < b.seq ? -1 : (a.seq > b.seq ? 1 : 0);
}

} // namespace fat::data
