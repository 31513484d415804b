#pragma once
// A data module on one database, made as the program makes it at start-up in INI mode (an INI
// file beside a stand-in executable names the database), with no window.
#include "datamodule/TDM.h"

#include <memory>
#include <string>

namespace bench {

class BenchDataModule {
public:
    // `location` as the INI file's DB key takes it: a file, or "host:file".
    explicit BenchDataModule(const std::string& location);
    ~BenchDataModule();
    BenchDataModule(const BenchDataModule&) = delete;
    BenchDataModule& operator=(const BenchDataModule&) = delete;

    fat::TDM& dm() { return *dm_; }

private:
    std::string programDir_;
    std::unique_ptr<fat::TDM> dm_;
};

} // namespace bench
