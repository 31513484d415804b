#include "directory/DatabaseSelection.h"

#include "directory/QDXConnection.h"
#include "platform/core/Errors.h"

namespace fat::directory {

std::vector<const TDatabaseInfo*> FindDatabases(const TCompanyInfo& company, int kind, int parent) {
    std::vector<const TDatabaseInfo*> found;
    for (const auto& database : company.Bancos)
        if (database->Kind == kind && (parent <= 0 || database->Parent == parent)) found.push_back(database.get());
    return found;
}

const TDatabaseInfo* FirstDatabase(const TCompanyInfo* company, int kind, int parent, bool retry) {
    if (!company) return nullptr;
    auto found = FindDatabases(*company, kind, parent);
    if (found.empty() && retry) found = FindDatabases(*company, kind, -1);
    return found.empty() ? nullptr : found.front();
}

DialogResult TQDXConnection::SelectDatabase(int kind) {
    if (!chooser_) throw Error("No database chooser is installed");
    std::vector<const TDatabaseInfo*> entries;
    std::vector<std::string> descriptions;
    for (const auto& company : companies_)
        for (const TDatabaseInfo* database : FindDatabases(*company, kind, 0)) {
            entries.push_back(database);
            descriptions.push_back(database->Description);
        }
    const DatabaseChooser::Choice choice = chooser_->Choose(descriptions, entries.empty() ? -1 : 0);
    if (choice.result == DialogResult::Ok) {
        if (choice.index < 0 || choice.index >= static_cast<int>(entries.size()))
            throw Error("No database was selected");
        selectedDatabase_ = entries[static_cast<std::size_t>(choice.index)];
    }
    return choice.result;
}

} // namespace fat::directory
