#pragma once

// What masterdata-sql says about itself: the syntax summary of -? (laid out as administrators
// know it from the server vendor's own command-line tool) and the version line.

#include <QString>

namespace md::tools {

// The syntax summary, several lines, ending with a newline.
QString sqlShellUsage();

// "masterdata-sql <version>" and a newline.
QString sqlShellVersion(const QString& version);

}  // namespace md::tools
