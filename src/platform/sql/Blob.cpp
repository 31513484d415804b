#include "platform/sql/Blob.h"

#include "platform/sql/Connection.h"
#include "platform/sql/IscStatus.h"

#include <algorithm>

namespace fat::sql {
namespace {

// Closes the blob handle on every path.
struct BlobHandle {
    isc_blob_handle handle = 0;
    ~BlobHandle() {
        if (handle) {
            ISC_STATUS_ARRAY status;
            isc_cancel_blob(status, &handle);
        }
    }
    void close() {
        ISC_STATUS_ARRAY status;
        isc_close_blob(status, &handle);
        CheckStatus(status);
        handle = 0;
    }
};

} // namespace

std::string ReadBlob(Connection& connection, ISC_QUAD id) {
    ISC_STATUS_ARRAY status;
    BlobHandle blob;
    isc_open_blob2(status, connection.dbHandle(), connection.currentTransaction(), &blob.handle, &id, 0, nullptr);
    CheckStatus(status);
    std::string content;
    char buffer[16384];
    for (;;) {
        unsigned short length = 0;
        const ISC_STATUS r = isc_get_segment(status, &blob.handle, &length, sizeof buffer, buffer);
        if (r == isc_segstr_eof) break;
        if (r != 0 && r != isc_segment) CheckStatus(status);
        content.append(buffer, length);
    }
    blob.close();
    return content;
}

ISC_QUAD WriteBlob(Connection& connection, const std::string& content) {
    ISC_STATUS_ARRAY status;
    BlobHandle blob;
    ISC_QUAD id{};
    isc_create_blob2(status, connection.dbHandle(), connection.currentTransaction(), &blob.handle, &id, 0, nullptr);
    CheckStatus(status);
    for (std::size_t at = 0; at < content.size(); at += 16384) {
        const auto length = static_cast<unsigned short>(std::min<std::size_t>(16384, content.size() - at));
        isc_put_segment(status, &blob.handle, length, content.data() + at);
        CheckStatus(status);
    }
    blob.close();
    return id;
}

} // namespace fat::sql
