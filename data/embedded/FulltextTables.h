#pragma once

// The names and pieces a contained-text index's upkeep (FulltextIndex.cpp) and its narrowing
// of searches (FulltextPlan.cpp) share.

#include "data/embedded/FulltextIndex.h"

#include <sqlite3.h>
#include <QString>
#include <set>
#include <string>
#include <string_view>

namespace md::embedded::fulltext {

QString q(const QString& identifier);  // a quoted identifier
QString lit(const QString& text);      // a quoted string literal
// <T>_<C>, which the index's tables and triggers are named after.
QString suffix(const FulltextIndex& ix);
// md_ft_gram_<T>_<C>: per piece its row count, lowest and highest key, and whether it is past
// the cap; md_ft_post_<T>_<C>: the rows of each piece under the cap.
QString gramTable(const FulltextIndex& ix);
QString postTable(const FulltextIndex& ix);
// Adds the distinct pieces of three characters of a folded text, as UTF-8.
void addGrams(std::u32string_view folded, std::set<std::string>& out);
void bindGram(sqlite3_stmt* stmt, int index, const std::string& gram);

}  // namespace md::embedded::fulltext
