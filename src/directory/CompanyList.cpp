#include "directory/CompanyList.h"

#include "directory/JsonArray.h"
#include "directory/JsonObject.h"

namespace fat::directory {

TInfoList ReadCompanies(const TJSONArray& list) {
    TInfoList companies;
    for (int i = 0; i < list.length(); ++i) {
        const TJSONObject& item = list.getJSONObject(i);
        auto company = std::make_unique<TCompanyInfo>();
        company->Codigo = item.getInt("codigo");
        company->Nome = item.getString("nome");
        const TJSONArray& bancos = item.getJSONArray("bancos");
        for (int j = 0; j < bancos.length(); ++j) {
            const TJSONObject& banco = bancos.getJSONObject(j);
            auto database = std::make_unique<TDatabaseInfo>();
            database->Company = company.get();
            database->Id = banco.getInt("id");
            database->Host = banco.getString("host");
            database->Password = banco.getString("password");
            database->Kind = KindFromTypeLetter(banco.getString("type"));
            database->Description = banco.getString("description");
            database->Parent = banco.getInt("parent");
            company->Bancos.push_back(std::move(database));
        }
        companies.push_back(std::move(company));
    }
    return companies;
}

} // namespace fat::directory
