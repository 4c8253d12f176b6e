#include "data/embedded/EngineConventions.h"

#include <sqlite3.h>
#include <mutex>
#include <unordered_map>

namespace md::embedded {
namespace {

// The error each handle's SQL functions raised last and that no caller has taken yet. A
// handle is stepped by one thread at a time, but handles of several threads share the map.
struct PendingErrors {
    std::mutex mutex;
    std::unordered_map<sqlite3*, EngineErrorInfo> byHandle;
};

PendingErrors& pending() {
    static PendingErrors errors;
    return errors;
}

}  // namespace

void raiseEngineError(sqlite3_context* ctx, const EngineErrorInfo& info) {
    {
        PendingErrors& p = pending();
        const std::lock_guard lock(p.mutex);
        p.byHandle[sqlite3_context_db_handle(ctx)] = info;
    }
    const QByteArray text = info.text.toUtf8();
    sqlite3_result_error(ctx, text.constData(), int(text.size()));
}

std::optional<EngineErrorInfo> takeEngineError(sqlite3* db, const QString& message) {
    PendingErrors& p = pending();
    const std::lock_guard lock(p.mutex);
    const auto it = p.byHandle.find(db);
    if (it == p.byHandle.end())
        return std::nullopt;
    EngineErrorInfo info = std::move(it->second);
    p.byHandle.erase(it);
    // An error raised by a statement whose failure nobody read is not this failure's.
    if (info.text != message)
        return std::nullopt;
    return info;
}

}  // namespace md::embedded
