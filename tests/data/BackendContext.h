#pragma once

// The backends the shared data-layer suite runs against. Each declares its quirks, so one test
// body serves every backend instead of being copied per backend.

#include "data/Connection.h"
#include "data/backend/Backend.h"

#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <ostream>
#include <vector>

namespace md::testing {

struct BackendContext {
    QString name;
    // Creates a fresh, empty database and returns a connection to it (not yet open).
    std::function<std::unique_ptr<data::Connection>(QTemporaryDir& dir)> freshDatabase;
    data::BackendQuirks quirks;
};

inline void PrintTo(const BackendContext& c, std::ostream* os) {
    *os << c.name.toStdString();
}

// The embedded engine always; others when this machine can run them.
std::vector<BackendContext> backendsUnderTest();

}  // namespace md::testing
