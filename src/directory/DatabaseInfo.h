#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace fat::directory {

class TCompanyInfo;

// Base of the company record: the company's code.
class TInfo {
public:
    virtual ~TInfo() = default;
    std::int32_t Codigo = 0;
};

// One database of a company as the directory server lists it.
class TDatabaseInfo {
public:
    std::int32_t Id = 0;
    std::string Host;        // location exactly as the database client takes it
    std::string Password;    // the database password
    int Kind = 0;            // from the type letter, see KindFromTypeLetter
    std::string Description; // the name shown to the user
    const TCompanyInfo* Company = nullptr; // the owner
    std::int32_t Parent = 0;
};

using TDatabaseInfoArray = std::vector<std::unique_ptr<TDatabaseInfo>>;

// One company, in server order, with its databases in server order.
class TCompanyInfo : public TInfo {
public:
    std::string Nome;
    TDatabaseInfoArray Bancos;
};

using TInfoList = std::vector<std::unique_ptr<TCompanyInfo>>;

// "G" 0, "A" 1, "O" 2, "C" 3, "F" 4, "X" 5, compared exactly; any other text is 0.
int KindFromTypeLetter(const std::string& type);

} // namespace fat::directory
