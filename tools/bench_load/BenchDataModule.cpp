#include "BenchDataModule.h"

#include "BenchDatabase.h"

#include "platform/core/Errors.h"
#include "platform/ini/ExecutablePath.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace bench {

BenchDataModule::BenchDataModule(const std::string& location)
    : programDir_(CacheDir() + "/program-" + std::to_string(getpid())) {
    std::filesystem::create_directories(programDir_);
    {
        std::ofstream ini(programDir_ + "/faturamento.ini", std::ios::trunc);
        ini << "[BDADOS]\nDB=" << location << "\nCHAVE=1\n[Banco]\nVersaoFirebird=3\n";
        if (!ini) throw fat::Error("cannot write " + programDir_ + "/faturamento.ini");
    }
    // The INI file and "quiral.sql" live beside the executable.
    fat::ini::SetExecutablePathForTesting(programDir_ + "/faturamento");
    dm_ = std::make_unique<fat::TDM>();
    dm_->DataModuleCreate();
}

BenchDataModule::~BenchDataModule() {
    dm_.reset();
    fat::ini::SetExecutablePathForTesting("");
    std::error_code ignored;
    std::filesystem::remove_all(programDir_, ignored);
}

} // namespace bench
