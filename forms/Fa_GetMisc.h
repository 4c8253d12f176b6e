#pragma once

// The miscellaneous-code frame: a code of one group of table Misc (country, currency, ...).
// F5 or the search button opens a new miscellaneous-code search for the group, titled "ค้นหา"
// and the frame's caption; the dialog lives for that one search.

#include "forms/KIdLookup.h"

#include <QString>
#include <functional>
#include <optional>

namespace md::forms {

// What the frame asks of its search dialog.
struct MiscSearchRequest {
    QString caption;      // window title
    QString group;        // MiscGroup
    QString resultField;  // the column whose value comes back (the box's code column)
};

class TFaGetMisc : public TFaLookupFrame {
    Q_OBJECT
  public:
    explicit TFaGetMisc(QWidget* parent = nullptr);

    QLabel* EditLabel;
    TKIdLookup* Code;
    QToolButton* BtSearch;
    QLabel* Description;

    // The group to look in and search, set by the owner.
    QString MiscGroup;

    void SearchClick() override { BtSearchClick(); }
    virtual void BtSearchClick();

    // The dialog behind the search: shows it modally over `owner` and gives the chosen value,
    // or nothing when cancelled. The searches module installs it (this layer cannot reach it).
    using SearchRunner =
        std::function<std::optional<QString>(QWidget* owner, const MiscSearchRequest& request)>;
    static void setSearchRunner(SearchRunner runner);
    static bool hasSearchRunner();

    // The design's filter "GroupCode=" names no group; while a placement leaves it so, the box
    // looks in MiscGroup instead of refusing every code with a syntax error.
    static QString DesignFilter() { return QStringLiteral("GroupCode="); }
};

}  // namespace md::forms
