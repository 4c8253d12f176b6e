#include "forms/MiscCodeSearch.h"

#include "data/backend/DbError.h"

namespace md::forms {

namespace {

MiscCodeSearchRunner& runner() {
    static MiscCodeSearchRunner r;
    return r;
}

}  // namespace

void setMiscCodeSearchRunner(MiscCodeSearchRunner r) {
    runner() = std::move(r);
}

bool hasMiscCodeSearchRunner() {
    return bool(runner());
}

std::optional<MiscCodeChoice> RunMiscCodeSearch(QWidget* owner, const QString& caption,
                                                const QString& group) {
    if (!runner())
        throw data::UsageError(QStringLiteral("No miscellaneous-code search is installed"));
    return runner()(owner, caption, group);
}

}  // namespace md::forms
