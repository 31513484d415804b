#include "platform/data/ClientDataSet.h"

#include "platform/core/Win1252.h"
#include "platform/data/LookupIndex.h"
#include "platform/data/PrefixIndex.h"
#include "platform/data/ValueCompare.h"

namespace fat::data {

namespace {

bool StartsWithText(const std::string& text, const std::string& start, bool caseInsensitive) {
    if (start.size() > text.size()) return false;
    if (!caseInsensitive) return text.compare(0, start.size(), start) == 0;
    return SameTextWin1252(std::string_view(text).substr(0, start.size()), start);
}

} // namespace

bool ClientDataSet::locate(const std::string& fieldNames, const Value& value, LocateOptions options) {
    return locate(fieldNames, std::vector<Value>{value}, options);
}

bool ClientDataSet::locate(const std::string& fieldNames, const std::vector<Value>& values, LocateOptions options) {
    checkActive();
    checkBrowseMode();
    const std::vector<Field*> fields = resolveFields(fieldNames);
    if (fields.empty()) fail("locate needs at least one field");
    if (values.size() != fields.size())
        fail("locate on '" + fieldNames + "' needs " + std::to_string(fields.size()) + " values, " +
             std::to_string(values.size()) + " given");

    std::vector<KeyField> keys;
    std::vector<Value> wanted;
    bool anyText = false;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        keys.push_back(keyFieldOf(*fields[i]));
        wanted.push_back(fields[i]->comparable(values[i]));
        anyText = anyText || IsTextType(fields[i]->dataType());
    }
    const bool caseInsensitive = options.caseInsensitive && anyText;
    const bool partial = options.partialKey && anyText;
    const auto visible = [this](const Row* row) { return !restricted_ || row->inView; };
    Row* found = nullptr;
    if (!partial) {
        LookupIndex& index = lookupFor(keys, caseInsensitive);
        found = index.findEqual(index.keyOfValues(wanted), visible);
    } else {
        PrefixIndex& index = prefixIndexFor(keys, caseInsensitive);
        // Rows whose key starts like the wanted one, up to the first partial text; each is then
        // compared field by field.
        std::string prefix;
        for (std::size_t i = 0; i < keys.size(); ++i) {
            if (IsTextType(keys[i].type) && !wanted[i].isNull()) {
                AppendKeyTextPrefix(prefix, wanted[i].asString(), caseInsensitive);
                break;
            }
            AppendKeyPart(prefix, wanted[i], keys[i].type, keys[i].scale, caseInsensitive);
        }
        const auto matches = [&](const Row* row) {
            for (std::size_t i = 0; i < keys.size(); ++i) {
                const Value& v = row->values[static_cast<std::size_t>(keys[i].index)];
                if (IsTextType(keys[i].type) && !wanted[i].isNull()) {
                    if (v.isNull()) return false;
                    if (!StartsWithText(v.asString(), wanted[i].asString(), caseInsensitive)) return false;
                } else if (CompareValues(v, wanted[i], keys[i].type, keys[i].scale) != 0) {
                    return false;
                }
            }
            return true;
        };
        // Different keys sharing the start are in key order, not walk order: every candidate is
        // seen and the first in the walk wins.
        index.findPrefix(prefix, [&](Row* row) {
            if (visible(row) && matches(row) && (!found || order_.compare(*row, *found) < 0)) found = row;
            return false;
        });
    }
    if (!found) return false;
    setCurrent(found, false, false);
    return true;
}

} // namespace fat::data
