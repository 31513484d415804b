#include "directory/QDXConnection.h"

#include "directory/CompanyList.h"
#include "directory/JsonArray.h"
#include "directory/QDXConnectionThread.h"
#include "directory/ResponseCodec.h"
#include "platform/core/Errors.h"
#include "platform/core/Format.h"
#include "platform/net/HttpClient.h"

namespace fat::directory {

TQDXConnection::TQDXConnection() {
    worker_ = std::make_unique<TQDXConnectionThread>([this] { PeriodicStep(); });
    http_ = std::make_unique<net::HttpClient>();
    http_->setBasicAuthentication(true);
    http_->setReadTimeoutMs(kReadTimeoutMs);
    http_->setAuthorizationHandler([this](std::string& user, std::string& password) {
        user = userName_;
        password = password_;
        return true;
    });
    SetHost("");
    SetSistema(TSistema::First);
}

TQDXConnection::~TQDXConnection() {
    worker_.reset(); // stop and join before anything it might refer to goes
}

void TQDXConnection::PeriodicStep() {
    // Nothing to do periodically in this product; the worker only sleeps.
}

void TQDXConnection::SetHost(const std::string& value) {
    host_ = value;
    const auto colon = value.find(':');
    hostName_ = value.substr(0, colon);
    port_ = kDefaultPort;
    if (colon != std::string::npos) {
        const int port = StrToIntDef(value.substr(colon + 1), kDefaultPort);
        if (port >= 1 && port <= 65535) port_ = port;
    }
    baseUrl_ = "http://" + hostName_ + ":" + std::to_string(port_);
}

void TQDXConnection::SetSistema(TSistema value) {
    sistema_ = value;
    if (value == TSistema::First || value == TSistema::Second) {
        userName_ = kUserName;
        password_ = kPassword;
        http_->setCredentials(userName_, password_);
    }
}

const TCompanyInfo* TQDXConnection::Company(int index) const {
    if (index < 0 || index >= CompanyCount()) return nullptr;
    return companies_[static_cast<std::size_t>(index)].get();
}

std::string TQDXConnection::GetText(const std::string& url) {
    const net::HttpResponse response = http_->get(url);
    if (!response.succeeded())
        throw Error("The directory server answered HTTP status " + std::to_string(response.status) + " for " + url);
    return encrypt_ ? DecodeResponse(response.body) : response.body;
}

std::string TQDXConnection::DecodeResponse(std::string_view body) const {
    return DecodeDirectoryResponse(body);
}

void TQDXConnection::LoadDatabases() noexcept {
    try {
        http_->setProxy(proxy_);
        http_->setCredentials(userName_, password_);
        offline_ = true;
        lastLoadError_.clear();
        ParseCompanies(GetText(baseUrl_ + kListPath));
        return;
    } catch (const std::exception& e) {
        lastLoadError_ = e.what();
    } catch (...) {
        lastLoadError_ = "unknown error";
    }
    companies_.clear();
    selectedDatabase_ = nullptr;
    offline_ = true;
}

void TQDXConnection::ParseCompanies(const std::string& text) {
    const TJSONArray list(text);
    companies_.clear();
    selectedDatabase_ = nullptr;
    if (sistema_ != TSistema::First) return; // nothing to parse; stays offline

    companies_ = ReadCompanies(list);
    offline_ = false;
}

TQDXConnection& QDXConnection() {
    static TQDXConnection instance;
    return instance;
}

} // namespace fat::directory
