// masterdata MENUID USERID COMPANYDB IGNORED KEYWORD
//
// Started by the suite's menu, once per menu entry: opens the one maintenance window the
// keyword names for that company and user, and ends when it closes. The database server is
// named by the first line of Server.Dat in the working directory.

#include "app/ModuleHooks.h"
#include "app/Startup.h"
#include "errors/TApplication.h"
#include "util/LocalTimeZone.h"

#include <cstdio>
#include <cstring>

#ifndef MD_VERSION
#error "MD_VERSION names the version every program reports"
#endif

namespace {

constexpr char kUsage[] =
    "usage: masterdata MENUID USERID COMPANYDB IGNORED KEYWORD\n"
    "       masterdata --help | --version\n"
    "\n"
    "Opens the maintenance window KEYWORD names (IMPEXPENSE, IMPORTLOTNO, FRVENDOR,\n"
    "FRCUSTOMER, EXCHANGE, PARTSOURCE) for menu entry MENUID, user USERID and company\n"
    "database COMPANYDB, on the server named by the first line of Server.Dat here.\n"
    "See masterdata(1).\n";

}  // namespace

int main(int argc, char* argv[]) {
    md::util::PinLocalTimeZone();
    // The menu passes numbers first, so an option can only be a person asking; answered before
    // the window system is reached, so it works without a display too.
    if (argc > 1 && std::strncmp(argv[1], "--", 2) == 0) {
        if (std::strcmp(argv[1], "--help") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (std::strcmp(argv[1], "--version") == 0) {
            std::fputs("masterdata " MD_VERSION "\n", stdout);
            return 0;
        }
        std::fprintf(stderr, "masterdata: unknown option '%s'\n\n%s", argv[1], kUsage);
        return 1;
    }
    md::errors::TApplication app(argc, argv);
    md::app::RegisterWindows();
    md::app::Startup startup(app);
    return startup.Run(app.arguments().mid(1));
}
