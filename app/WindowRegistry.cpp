#include "app/WindowRegistry.h"

#include <QHash>

namespace md::app {

namespace {

QHash<QString, WindowFactory>& factories() {
    static QHash<QString, WindowFactory> table;
    return table;
}

}  // namespace

const QStringList& WindowKeywords() {
    static const QStringList keywords = {
        QStringLiteral("IMPEXPENSE"), QStringLiteral("IMPORTLOTNO"), QStringLiteral("FRVENDOR"),
        QStringLiteral("PARTSOURCE"), QStringLiteral("FRCUSTOMER"),  QStringLiteral("EXCHANGE")};
    return keywords;
}

bool registerWindow(const QString& keyword, WindowFactory factory) {
    if (!WindowKeywords().contains(keyword) || !factory)
        return false;
    factories().insert(keyword, std::move(factory));
    return true;
}

void clearWindows() {
    factories().clear();
}

WindowFactory findWindow(const QString& keyword) {
    for (const QString& k : WindowKeywords()) {
        if (k == keyword)
            return factories().value(k);
    }
    return {};
}

}  // namespace md::app
